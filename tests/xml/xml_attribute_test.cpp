// Attributes: FindAttribute's walk and SetAttributeText's edits.
#include "xml_test_support.h"

namespace {

class AttributeTest : public XmlDocumentTest {
 protected:
  // Loads one element and makes it current.
  void LoadElement(const char16_t* text) {
    Load(text);
    doc.currentPos = 1;
    doc.currentKind = XCK_ELEMENT;
  }
  void Set(const char16_t* name, const char16_t* value, std::uint32_t options = 0) {
    ASSERT_TRUE(doc.SetAttributeText(1, name, value, options));
    ExpectRecordsMatchText();
  }
};

TEST_F(AttributeTest, AddedBeforeTagEnd) {
  LoadElement(u"<svg/>");
  Set(u"width", u"800");
  Set(u"height", u"600");
  ExpectText(u"<svg width=\"800\" height=\"600\"/>");
  LoadElement(u"<p />");
  Set(u"a", u"1");
  ExpectText(u"<p a=\"1\" />");
  LoadElement(u"<p></p>");
  Set(u"a", u"1");
  ExpectText(u"<p a=\"1\"></p>");
  EXPECT_EQ(Fields(1).startTag, 9u);
}

TEST_F(AttributeTest, SettingTwiceReplacesValue) {
  LoadElement(u"<e a=\"1\" b='2' c=3></e>");
  Set(u"a", u"10");
  Set(u"b", u"20");
  Set(u"c", u"30");
  Set(u"a", u"");
  ExpectText(u"<e a=\"\" b=\"20\" c=\"30\"></e>");
  EXPECT_EQ(Fields(1).length, 26);
}

TEST_F(AttributeTest, ValueEscapesQuotesContentDoesNot) {
  LoadElement(u"<e/>");
  Set(u"v", u"a\"b<c");
  ExpectText(u"<e v=\"a&quot;b&lt;c\"/>");
  Load(u"<r/>");
  doc.currentPos = 1;
  doc.currentKind = XCK_ELEMENT;
  doc.EnterElement();
  doc.InsertElement(u"t", u"a\"b<c", 0);
  ExpectText(u"<r>\r\n<t>a\"b&lt;c</t>\r\n</r>");
}

TEST_F(AttributeTest, NameMatchIsByWholeName) {
  LoadElement(u"<e ab=\"1\" a=\"2\"/>");
  Set(u"a", u"3");
  ExpectText(u"<e ab=\"1\" a=\"3\"/>");
}

TEST_F(AttributeTest, CaseFoldedNamesUnderFlag) {
  doc.documentFlags = XDF_NOCASE;
  LoadElement(u"<e A=\"1\"/>");
  Set(u"a", u"2");
  ExpectText(u"<e A=\"2\"/>");
}

TEST_F(AttributeTest, BareNameGetsValueAfterIt) {
  LoadElement(u"<input checked/>");
  Set(u"checked", u"yes");
  ExpectText(u"<input checked=\"yes\"/>");
}

TEST_F(AttributeTest, QuotedGreaterThanStaysInsideTag) {
  LoadElement(u"<e a=\"x>y\" />");
  Set(u"b", u"1");
  ExpectText(u"<e a=\"x>y\" b=\"1\" />");
}

TEST_F(AttributeTest, StrayQuoteCannotCarryEditPastTag) {
  LoadElement(u"<e \"x>y\"/>");
  EXPECT_FALSE(doc.SetAttributeText(1, u"b", u"1", 0));
  ExpectStatus("Start tag cannot take the attribute");
  ExpectText(u"<e \"x>y\"/>");
}

TEST_F(AttributeTest, ChildrenMoveWithTheStartTag) {
  LoadElement(u"<e><c/></e>");
  Set(u"a", u"1");
  EXPECT_EQ(Fields(2).start, 9);
  ExpectSameRecordsAsReparse(doc);
}

TEST(FindAttributeTest, ReportsValueSpanQuotingAndInsertPoint) {
  CXmlDocument doc;
  doc.ParseText(u"<e a='1' b=2 c d = \"4\" >");
  AttributeMatch match;
  ASSERT_TRUE(doc.FindAttribute(1, u"a", match));
  EXPECT_TRUE(match.quoted);
  EXPECT_EQ(match.start, 6);
  EXPECT_EQ(match.end, 7);
  ASSERT_TRUE(doc.FindAttribute(1, u"b", match));
  EXPECT_FALSE(match.quoted);
  EXPECT_EQ(match.start, 11);
  ASSERT_TRUE(doc.FindAttribute(1, u"c", match));
  EXPECT_FALSE(match.hasValue);
  ASSERT_TRUE(doc.FindAttribute(1, u"d", match));
  EXPECT_EQ(match.start, 20);
  EXPECT_FALSE(doc.FindAttribute(1, u"z", match));
  EXPECT_EQ(match.insertAt, 22);
}

TEST(ScanTokenTest, DelimitersFormOneCharacterTokens) {
  const std::u16string text = u"  text/html; charset=x-y\\z";
  ScanPosition position;
  position.text = text;
  std::vector<std::string> tokens;
  while (ScanToken(position)) tokens.push_back(Narrow(position.Token()));
  EXPECT_EQ(tokens, (std::vector<std::string>{"text", "/", "html", ";", "charset", "=", "x-y", "\\", "z"}));
  EXPECT_EQ(position.tokenStart, static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(position.tokenEnd, static_cast<std::int32_t>(text.size()) - 1);
}

}  // namespace
