// Escaping of markup characters and CDATA wrapping.
#include "xml_test_support.h"

namespace {

std::string Escape(const char16_t* input, std::uint32_t options) {
  return Narrow(CXmlDocument::EscapeMarkup(input, options));
}

TEST(EscapeMarkupTest, MarkupCharacters) {
  EXPECT_EQ(Escape(u"a<b&c>d'e\"f", 0), "a&lt;b&amp;c&gt;d'e\"f");
  EXPECT_EQ(Escape(u"a<b&c>d'e\"f", XIO_ESCAPEQUOTES), "a&lt;b&amp;c&gt;d&apos;e&quot;f");
  EXPECT_EQ(Escape(u"", 0), "");
}

TEST(EscapeMarkupTest, KeepsEntityReferencesOnlyWhenAsked) {
  EXPECT_EQ(Escape(u"&amp; &#38; &x_:-.9;", 0), "&amp;amp; &amp;#38; &amp;x_:-.9;");
  EXPECT_EQ(Escape(u"&amp; &#38; &x_:-.9;", XIO_KEEPENTITIES), "&amp; &#38; &x_:-.9;");
  EXPECT_EQ(Narrow(CXmlDocument::EscapeMarkup(u"&\u00e9t\u00e9;", XIO_KEEPENTITIES)), "&?t?;");
}

TEST(EscapeMarkupTest, IncompleteReferencesAreEscaped) {
  for (const char16_t* input : {u"&", u"&;", u"&a", u"&a b;", u"&9a;", u"&-a;"})
    EXPECT_EQ(Escape(input, XIO_KEEPENTITIES).substr(0, 5), "&amp;") << Narrow(input);
}

TEST(EscapeMarkupTest, GrowsPastInitialBuffer) {
  std::u16string input(1000, u'<');
  EXPECT_EQ(CXmlDocument::EscapeMarkup(input, 0).size(), 4000u);
}

TEST(WrapCdataTest, SplitsClosingSequence) {
  EXPECT_EQ(Narrow(CXmlDocument::WrapCdata(u"a]]>b")), "<![CDATA[a]]]]><![CDATA[>b]]>");
  EXPECT_EQ(Narrow(CXmlDocument::WrapCdata(u"]]>]]>")), "<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>");
  EXPECT_EQ(Narrow(CXmlDocument::WrapCdata(u"x]]")), "<![CDATA[x]]]]>");
}

TEST(WrapCdataTest, InsertedContentParsesBack) {
  CXmlDocument doc;
  doc.ParseText(u"<r/>");
  doc.currentPos = 1;
  doc.currentKind = XCK_ELEMENT;
  doc.EnterElement();
  ASSERT_TRUE(doc.InsertElement(u"c", u"a]]>b<x>", XIO_CDATA));
  CXmlDocument reparsed;
  EXPECT_TRUE(reparsed.ParseText(doc.text.c_str()));
  EXPECT_EQ(reparsed.recordsUsed, 3);
}

}  // namespace
