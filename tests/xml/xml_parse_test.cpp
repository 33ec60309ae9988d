// Parsing: records, structural checks and every parser message.
#include <string>

#include "xml_test_support.h"

namespace {

using ParseTest = XmlDocumentTest;

TEST_F(ParseTest, FreshDocumentIsEmptyWithEightRecords) {
  ExpectStatus("Empty document");
  EXPECT_EQ(doc.capacity, 8);
  EXPECT_EQ(doc.recordsUsed, 1);
  EXPECT_EQ(doc.documentFlags, 0u);
  EXPECT_FALSE(doc.IsWellFormed());
}

TEST_F(ParseTest, DeclarationAloneHasNoRootElement) {
  EXPECT_FALSE(Load(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
  ExpectStatus("No root element");
  EXPECT_EQ(doc.recordsUsed, 1);
}

TEST_F(ParseTest, NestedElementsGetOffsetsAndLinks) {
  EXPECT_TRUE(Load(u"<?xml version=\"1.0\"?>\r\n<a x=\"1\"><b/><c>t</c><d /></a>"));
  ExpectStatus("");
  EXPECT_EQ(Fields(0), (RecordFields{0, 53, 0, 0, 0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(Fields(1), (RecordFields{23, 30, 9, 4, 0, XRF_FIRST, 0, 2, 0, 1}));
  EXPECT_EQ(Fields(2), (RecordFields{32, 4, 4, 0, 1, XRF_FIRST, 1, 0, 3, 4}));
  EXPECT_EQ(Fields(3), (RecordFields{36, 8, 3, 4, 1, 0, 1, 0, 4, 2}));
  EXPECT_EQ(Fields(4), (RecordFields{44, 5, 5, 0, 1, 0, 1, 0, 0, 3}));
}

TEST_F(ParseTest, MismatchedEndTagLeavesInnerElementUnended) {
  EXPECT_FALSE(Load(u"<a><b></a>"));
  ExpectStatus("End tag 'a' at offset 7 does not match start tag 'b' at offset 3");
  EXPECT_EQ(Fields(0).flags, XRF_NOTWELLFORMED);
  EXPECT_EQ(Fields(1), (RecordFields{0, 10, 3, 4, 0, XRF_FIRST, 0, 2, 0, 1}));
  EXPECT_EQ(Fields(2), (RecordFields{3, 3, 3, 0, 1, XRF_FIRST | XRF_OPEN, 1, 0, 0, 2}));
}

TEST_F(ParseTest, UnendedElementHandsItsChildrenToItsParent) {
  Load(u"<a><b><c/><d/></a>");
  ExpectStatus("End tag 'a' at offset 15 does not match start tag 'b' at offset 3");
  // b keeps only its start tag; c and d follow it under a.
  EXPECT_EQ(Fields(2), (RecordFields{3, 3, 3, 0, 1, XRF_FIRST | XRF_OPEN, 1, 0, 3, 4}));
  EXPECT_EQ(Fields(3).parent, 1);
  EXPECT_EQ(Fields(3).flags & XRF_FIRST, 0u);
  EXPECT_EQ(Fields(3).prev, 2);
  EXPECT_EQ(Fields(4).parent, 1);
  EXPECT_EQ(Fields(4).next, 0);
  EXPECT_EQ(Fields(1).firstChild, 2);
}

// Unended elements nested in each other close as one run: their children
// follow them in document order under the outer parent, depths kept, and
// an error inside the innermost moves up to that parent.
TEST_F(ParseTest, NestedUnendedElementsCloseAsOneRun) {
  EXPECT_FALSE(Load(u"<r><a><b/><c><d/><e><1></r>"));
  ExpectStatus("Incorrect tag name character at offset 20");
  EXPECT_EQ(Fields(1), (RecordFields{0, 27, 3, 4, 0, XRF_FIRST | XRF_ERROR, 0, 2, 0, 1}));
  EXPECT_EQ(Fields(2), (RecordFields{3, 3, 3, 0, 1, XRF_FIRST | XRF_OPEN, 1, 0, 3, 6}));
  EXPECT_EQ(Fields(3), (RecordFields{6, 4, 4, 0, 2, 0, 1, 0, 4, 2}));
  EXPECT_EQ(Fields(4), (RecordFields{10, 3, 3, 0, 2, XRF_OPEN, 1, 0, 5, 3}));
  EXPECT_EQ(Fields(5), (RecordFields{13, 4, 4, 0, 3, 0, 1, 0, 6, 4}));
  EXPECT_EQ(Fields(6), (RecordFields{17, 3, 3, 0, 3, XRF_OPEN, 1, 0, 0, 5}));
  // At the end of the text the run reaches the top level.
  Load(u"<r><a><b/><c><d/><e>");
  ExpectStatus("Root element has sibling");
  EXPECT_EQ(Fields(1), (RecordFields{0, 3, 3, 0, 0, XRF_FIRST | XRF_OPEN, 0, 0, 2, 6}));
  EXPECT_EQ(Fields(6), (RecordFields{17, 3, 3, 0, 3, XRF_OPEN, 0, 0, 0, 5}));
}

// After an end tag that matched nothing, open elements are found by name
// through an index; it must follow every later open and close.
TEST_F(ParseTest, EndTagsAfterAStrayOneStillFindTheirElements) {
  EXPECT_FALSE(Load(u"<a><b></z><c><d></c></b></a>"));
  ExpectStatus("No start tag for end tag 'z' at offset 6");
  EXPECT_EQ(Fields(1), (RecordFields{0, 28, 3, 4, 0, XRF_FIRST, 0, 2, 0, 1}));
  EXPECT_EQ(Fields(2), (RecordFields{3, 21, 3, 4, 1, XRF_FIRST | XRF_ERROR, 1, 3, 0, 2}));
  EXPECT_EQ(Fields(3), (RecordFields{10, 10, 3, 4, 2, XRF_FIRST, 2, 4, 0, 3}));
  EXPECT_EQ(Fields(4), (RecordFields{13, 3, 3, 0, 3, XRF_FIRST | XRF_OPEN, 3, 0, 0, 4}));
  // The index keeps the name rules: separators after the end-tag name, and
  // ASCII case under the flag.
  Load(u"<a=1><b></z></a>");
  EXPECT_EQ(Fields(1).endTag, 4u);
  EXPECT_EQ(Fields(2).flags & XRF_OPEN, XRF_OPEN);
  doc.documentFlags = XDF_NOCASE;
  Load(u"<A><b></x></a>");
  EXPECT_EQ(Fields(1).endTag, 4u);
  doc.documentFlags = 0;
  Load(u"<A><b></x></a>");
  EXPECT_EQ(Fields(1).endTag, 0u);
}

TEST_F(ParseTest, StrayEndTagIsIgnored) {
  EXPECT_FALSE(Load(u"<a></b></a>"));
  ExpectStatus("No start tag for end tag 'b' at offset 3");
  EXPECT_EQ(Fields(1), (RecordFields{0, 11, 3, 4, 0, XRF_FIRST | XRF_ERROR, 0, 0, 0, 1}));
}

TEST_F(ParseTest, ElementNotEnded) {
  EXPECT_FALSE(Load(u"<a>"));
  ExpectStatus("Element 'a' at offset 0 not ended");
  EXPECT_EQ(Fields(1), (RecordFields{0, 3, 3, 0, 0, XRF_FIRST | XRF_OPEN, 0, 0, 0, 1}));
}

TEST_F(ParseTest, RootWithSiblingIsParsedFully) {
  EXPECT_FALSE(Load(u"<a><b/></a><c/>"));
  ExpectStatus("Root element has sibling");
  EXPECT_EQ(doc.recordsUsed, 4);
  EXPECT_EQ(Fields(1).next, 3);
  EXPECT_EQ(Fields(3).parent, 0);
}

TEST_F(ParseTest, StructuralMessageReplacesParserMessage) {
  Load(u"<a></b></a><c/>");
  ExpectStatus("Root element has sibling");
  EXPECT_FALSE(doc.IsWellFormed());
}

// A NUL is a character of the text like any other; only the C-string form
// of ParseText ends there.
TEST_F(ParseTest, TextGoesOnAfterNul) {
  EXPECT_FALSE(doc.ParseText(std::u16string_view(u"<a/>\0<b/>", 9)));
  ExpectStatus("Root element has sibling");
  EXPECT_EQ(doc.recordsUsed, 3);
  EXPECT_TRUE(doc.ParseText(u"<a/>\0<b/>"));
}

TEST_F(ParseTest, GreaterThanInsideQuotedValueDoesNotEndTag) {
  EXPECT_TRUE(Load(u"<a x=\"1>2\"/>"));
  EXPECT_EQ(Fields(1), (RecordFields{0, 12, 12, 0, 0, XRF_FIRST, 0, 0, 0, 1}));
}

TEST_F(ParseTest, FirstProblemStaysTheStatus) {
  Load(u"<a>x<!--");
  ExpectStatus("Comment at offset 4 unterminated");
  EXPECT_EQ(Fields(1).flags & XRF_OPEN, XRF_OPEN);
}

TEST_F(ParseTest, NamesCompareWithoutCaseUnderFlag) {
  EXPECT_FALSE(Load(u"<A></a>"));
  doc.documentFlags = XDF_NOCASE;
  EXPECT_TRUE(Load(u"<A></a>"));
}

TEST_F(ParseTest, EndTagMatchesNameFollowedBySeparator) {
  EXPECT_TRUE(Load(u"<a[x]></a>"));
  EXPECT_FALSE(Load(u"<ab></a>"));
}

TEST_F(ParseTest, SelfClosingRules) {
  struct Case { const char16_t* text; bool selfClosed; };
  for (const Case& c : {Case{u"<a/>", true}, Case{u"<a />", true}, Case{u"<a x=\"1\"/>", true},
                        Case{u"<a x='1'/>", true}, Case{u"<a x=1/>", false}, Case{u"<a/ >", false}}) {
    Load(c.text);
    EXPECT_EQ(EndTagLength(doc.Record(1)) == 0 && (doc.Record(1).flags & XRF_OPEN) == 0, c.selfClosed)
        << Narrow(c.text);
  }
}

TEST_F(ParseTest, NonElementNodesAreSteppedOver) {
  EXPECT_TRUE(Load(u"<!DOCTYPE x [ <!ENTITY y \"z>\"> <!-- > --> ]>\n<?pi a?><!-- c --><r><![CDATA[<no>]]>"
                   u"t&amp;<?p?><!-- <x> --></r>\n"));
  EXPECT_EQ(doc.recordsUsed, 2);
  ExpectStatus("");
}

struct MessageCase {
  const char16_t* text;
  const char* message;
};

class ParserMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ParserMessageTest, ReportsExactMessage) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.ParseText(GetParam().text));
  EXPECT_EQ(Narrow(doc.statusText), GetParam().message);
  EXPECT_EQ(doc.Record(0).flags & XRF_NOTWELLFORMED, XRF_NOTWELLFORMED);
}

INSTANTIATE_TEST_SUITE_P(
    EveryMessage, ParserMessageTest,
    ::testing::Values(
        MessageCase{u"<r>< x/></r>", "Incorrect tag name character at offset 3"},
        MessageCase{u"<r><1/></r>", "Incorrect tag name character at offset 3"},
        MessageCase{u"<r><!x></r>", "Incorrect ! tag at offset 3"},
        MessageCase{u"<r><!-x></r>", "Incorrect comment tag at offset 3"},
        MessageCase{u"<r><![x[]]></r>", "Incorrect tag at offset 3"},
        MessageCase{u"<r></r", "Element end tag at offset 3 unterminated"},
        MessageCase{u"<r><a x='>", "Element tag at offset 3 unterminated"},
        MessageCase{u"<r><![CDATA[x]]", "CDATA Section at offset 3 unterminated"},
        MessageCase{u"<r><?pi x?", "Processing instruction at offset 3 unterminated"},
        MessageCase{u"<r><!-- x --", "Comment at offset 3 unterminated"},
        MessageCase{u"<r><!DOCTYPE r [ <!ENTITY x \"y\"> <r/>", "Doctype at offset 3 unterminated"},
        MessageCase{u"<r><!ELEMENT r ANY", "Doctype at offset 3 unterminated"},
        MessageCase{u"<r><", "tag at offset 3 unterminated"},
        MessageCase{u"<r><!-", "tag at offset 3 unterminated"},
        MessageCase{u"<r><1 x", "tag at offset 3 unterminated"},
        MessageCase{u"<r></x></r>", "No start tag for end tag 'x' at offset 3"},
        MessageCase{u"<r><a><b></r>", "End tag 'r' at offset 10 does not match start tag 'b' at offset 6"},
        MessageCase{u"<r>text", "Element 'r' at offset 0 not ended"}));

TEST(ScanNodeTest, KindsLengthsAndNames) {
  const std::u16string text = u"<?xml v?> \r\n<a b='>'/>x<!--c--><![CDATA[d]]></a><!DOCTYPE e [<!ENTITY f 'g>'>]>";
  ScanPosition position;
  position.text = text;
  XmlNode node;
  struct Expected { std::int32_t kind, start, length; std::uint32_t flags; const char* name; };
  const Expected expected[] = {
      {XNK_PROCESSING, 0, 9, 0, "xml"}, {XNK_WHITESPACE, 9, 3, 0, ""},   {XNK_STARTTAG, 12, 10, XNF_SELFCLOSED, "a"},
      {XNK_TEXT, 22, 1, 0, ""},         {XNK_COMMENT, 23, 8, 0, ""},     {XNK_CDATA, 31, 13, 0, ""},
      {XNK_ENDTAG, 44, 4, 0, ""},       {XNK_DOCTYPE, 48, 31, 0, ""},    {XNK_ENDOFTEXT, 79, 0, 0, ""}};
  for (const Expected& e : expected) {
    node.name.clear();
    EXPECT_EQ(ScanNode(position, node), e.kind) << "at " << e.start;
    EXPECT_EQ(node.start, e.start);
    EXPECT_EQ(node.length, e.length) << "at " << e.start;
    EXPECT_EQ(node.flags, e.flags) << "at " << e.start;
    if (e.kind == XNK_STARTTAG || e.kind == XNK_PROCESSING) {
      EXPECT_EQ(Narrow(node.name), e.name);
    }
  }
}

TEST(ScanNodeTest, EndTagNameIsLeftInPosition) {
  const std::u16string text = u"</name >";
  ScanPosition position;
  position.text = text;
  XmlNode node;
  EXPECT_EQ(ScanNode(position, node), XNK_ENDTAG);
  EXPECT_EQ(Narrow(position.Token()), "name");
}

// Oversized fields must not wrap into neighbouring bits.
class ParseLimitTest : public XmlDocumentTest {};

TEST_F(ParseLimitTest, LongEndTagMarksDocumentNotWellFormed) {
  std::u16string name(1100, u'n');
  std::u16string text = u"<" + name + u"></" + name + u">";
  EXPECT_FALSE(Load(text.c_str()));
  ExpectStatus("End tag at offset 0 too long");
  EXPECT_EQ(Fields(1).flags & XRF_OVERFLOW, XRF_OVERFLOW);
  EXPECT_EQ(Fields(1).startTag, 1102u);  // not disturbed by the end tag's bits
  EXPECT_EQ(Fields(1).length, static_cast<std::int32_t>(text.size()));
}

TEST_F(ParseLimitTest, LongStartTagMarksDocumentNotWellFormed) {
  std::u16string text = u"<a v=\"" + std::u16string(1u << 22, u'v') + u"\"/>";
  EXPECT_FALSE(Load(text.c_str()));
  ExpectStatus("Start tag at offset 0 too long");
  EXPECT_EQ(Fields(1).endTag, 0u);
  EXPECT_FALSE(doc.SetAttributeText(1, u"w", u"1", 0) && doc.currentKind == XCK_ELEMENT);
}

TEST_F(ParseLimitTest, DeepNestingMarksDocumentNotWellFormed) {
  std::u16string text;
  for (int i = 0; i < 65537; ++i) text += u"<d>";
  for (int i = 0; i < 65537; ++i) text += u"</d>";
  EXPECT_FALSE(Load(text.c_str()));
  ExpectStatus("Element at offset 196608 too deep");
  EXPECT_EQ(Fields(65536).depth, 65535u);
  EXPECT_EQ(Fields(65537).flags & XRF_OVERFLOW, XRF_OVERFLOW);
  EXPECT_EQ(Fields(65537).depth, 65535u);
}

TEST_F(ParseLimitTest, ReusedRecordsStartWithCleanFlags) {
  Load(u"<a><b></a>");
  ASSERT_NE(Fields(2).flags & XRF_OPEN, 0u);
  EXPECT_TRUE(Load(u"<a><b/></a>"));
  EXPECT_EQ(Fields(2), (RecordFields{3, 4, 4, 0, 1, XRF_FIRST, 1, 0, 0, 2}));
}

}  // namespace
