// Building: InsertElement with its options, the cursor, the record store.
#include "xml_test_support.h"

namespace {

constexpr const char16_t* kDeclaration = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

class BuildTest : public XmlDocumentTest {
 protected:
  void SetUp() override { Load(kDeclaration); }
};

TEST_F(BuildTest, ExampleDocumentToTheCharacter) {
  ASSERT_TRUE(doc.InsertElement(u"svg", nullptr, 0));
  ASSERT_TRUE(doc.SetAttributeNumber(doc.currentPos, u"width", 800, 0));
  ASSERT_TRUE(doc.SetAttributeNumber(doc.currentPos, u"height", 600, 0));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.InsertElement(u"desc", u"abc", 0));
  ASSERT_TRUE(doc.InsertElement(u"rect", nullptr, 0));
  ExpectText(std::u16string(kDeclaration) +
             u"<svg width=\"800\" height=\"600\">\r\n<desc>abc</desc>\r\n<rect/>\r\n</svg>\r\n");
  EXPECT_EQ(Fields(1), (RecordFields{38, 65, 30, 6, 0, XRF_FIRST, 0, 2, 0, 1}));
  EXPECT_EQ(Fields(2), (RecordFields{70, 16, 6, 7, 1, XRF_FIRST, 1, 0, 3, 3}));
  EXPECT_EQ(Fields(3), (RecordFields{88, 7, 7, 0, 1, 0, 1, 0, 0, 2}));
  ExpectRecordsMatchText();
  ExpectSameRecordsAsReparse(doc);
  EXPECT_TRUE(doc.IsWellFormed());
}

TEST_F(BuildTest, FirstElementFollowsDeclarationOnSameLine) {
  doc.InsertElement(u"svg", nullptr, 0);
  ExpectText(std::u16string(kDeclaration) + u"<svg/>\r\n");
  EXPECT_EQ(doc.currentPos, 1);
  EXPECT_EQ(doc.currentKind, XCK_ELEMENT);
}

TEST_F(BuildTest, ElementFormsPerOption) {
  doc.InsertElement(u"r", nullptr, 0);
  doc.EnterElement();
  doc.InsertElement(u"a", nullptr, XIO_SPACEDEMPTY);
  doc.InsertElement(u"b", nullptr, XIO_STARTTAGONLY);
  doc.InsertElement(u"c", u"x<y", XIO_CDATA);
  doc.InsertElement(u"d", u"z", XIO_NOCRLF);
  // Without line ends nothing is skipped: d follows c before its CR LF.
  ExpectText(std::u16string(kDeclaration) + u"<r>\r\n<a />\r\n<b>\r\n<c><![CDATA[x<y]]></c><d>z</d>\r\n</r>\r\n");
  EXPECT_EQ(Fields(3), (RecordFields{50, 3, 3, 0, 1, XRF_OPEN, 1, 0, 4, 2}));
  EXPECT_EQ(Fields(4).length, 22);
  EXPECT_EQ(Fields(5).length, 8);
  ExpectRecordsMatchText();
}

TEST_F(BuildTest, ChildrenUnderEmptyParents) {
  struct Case { const char16_t* parent; const char16_t* expected; };
  for (const Case& c : {Case{u"<p/>", u"<p>\r\n<c/>\r\n</p>"}, Case{u"<p />", u"<p >\r\n<c/>\r\n</p>"},
                        Case{u"<p></p>", u"<p>\r\n<c/>\r\n</p>"}}) {
    Load(c.parent);
    doc.currentPos = 1;
    doc.currentKind = XCK_ELEMENT;
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.InsertElement(u"c", nullptr, 0));
    ExpectText(c.expected);
    EXPECT_EQ(Fields(2).start, 5 + (c.parent[2] == u' ' ? 1 : 0));
    ExpectRecordsMatchText();
  }
}

TEST_F(BuildTest, ChildUnderOpenElementClosesIt) {
  doc.InsertElement(u"g", nullptr, XIO_STARTTAGONLY);
  doc.EnterElement();
  doc.InsertElement(u"c", nullptr, 0);
  ExpectText(std::u16string(kDeclaration) + u"<g>\r\n<c/>\r\n</g>\r\n");
  EXPECT_EQ(Fields(1), (RecordFields{38, 15, 3, 4, 0, XRF_FIRST, 0, 2, 0, 1}));
  ExpectSameRecordsAsReparse(doc);
}

TEST_F(BuildTest, NoLineEndsOption) {
  doc.InsertElement(u"p", nullptr, XIO_NOCRLF);
  doc.EnterElement();
  doc.InsertElement(u"c", nullptr, XIO_NOCRLF);
  doc.InsertElement(u"d", nullptr, XIO_NOCRLF);
  ExpectText(std::u16string(kDeclaration) + u"<p><c/><d/></p>");
  ExpectSameRecordsAsReparse(doc);
}

TEST_F(BuildTest, BareParentUnderNoLineEndsKeepsRecordInStep) {
  Load(u"<p></p>");
  doc.currentPos = 1;
  doc.currentKind = XCK_ELEMENT;
  doc.EnterElement();
  doc.InsertElement(u"c", nullptr, XIO_NOCRLF);
  ExpectText(u"<p><c/></p>");
  EXPECT_EQ(Fields(2).start, 3);
}

TEST_F(BuildTest, InsertBeforeCurrentAndAsFirstChild) {
  doc.InsertElement(u"r", nullptr, 0);
  doc.EnterElement();
  doc.InsertElement(u"b", nullptr, 0);
  doc.InsertElement(u"a", nullptr, XIO_BEFORE);
  ExpectText(std::u16string(kDeclaration) + u"<r>\r\n<a/>\r\n<b/>\r\n</r>\r\n");
  EXPECT_EQ(Fields(1).firstChild, 3);
  EXPECT_EQ(Fields(3), (RecordFields{43, 4, 4, 0, 1, XRF_FIRST, 1, 0, 2, 2}));
  EXPECT_EQ(Fields(2), (RecordFields{49, 4, 4, 0, 1, 0, 1, 0, 0, 3}));
  ExpectRecordsMatchText();
}

TEST_F(BuildTest, ChildModeInsertsUnderCurrentAfterCurrentChild) {
  EXPECT_FALSE(doc.InsertElement(u"x", nullptr, XIO_CHILD));
  doc.InsertElement(u"r", nullptr, 0);
  ASSERT_TRUE(doc.InsertElement(u"a", nullptr, XIO_CHILD));
  ASSERT_TRUE(doc.InsertElement(u"b", nullptr, XIO_CHILD));
  EXPECT_EQ(doc.currentPos, 1);
  EXPECT_EQ(doc.childPos, 3);
  ExpectText(std::u16string(kDeclaration) + u"<r>\r\n<a/>\r\n<b/>\r\n</r>\r\n");
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.parentPos, 1);
  EXPECT_EQ(doc.currentPos, 3);
  ExpectSameRecordsAsReparse(doc);
}

TEST_F(BuildTest, RefusalsChangeNothing) {
  EXPECT_FALSE(doc.EnterElement());
  EXPECT_FALSE(doc.SetAttributeText(0, u"a", u"b", 0));
  doc.InsertElement(u"r", nullptr, 0);
  const std::u16string before = doc.text;
  EXPECT_FALSE(doc.InsertElement(u"x", u"content", XIO_STARTTAGONLY));
  EXPECT_FALSE(doc.InsertElement(nullptr, nullptr, 0));
  EXPECT_FALSE(doc.InsertElement(u"", nullptr, 0));
  EXPECT_FALSE(doc.SetAttributeText(99, u"a", u"b", 0));
  EXPECT_FALSE(doc.SetAttributeText(-1, u"a", u"b", 0));
  EXPECT_EQ(doc.text, before);
  EXPECT_EQ(doc.recordsUsed, 2);
}

TEST_F(BuildTest, InconsistentCursorIsRefused) {
  doc.InsertElement(u"r", nullptr, 0);
  doc.EnterElement();
  doc.InsertElement(u"a", nullptr, 0);
  doc.parentPos = 0;  // a is not a child of the document
  EXPECT_FALSE(doc.InsertElement(u"b", nullptr, 0));
  ExpectStatus("Current element is not a child of the parent");
}

TEST_F(BuildTest, OversizedNamesAreRefusedNotWrapped) {
  doc.InsertElement(u"r", nullptr, 0);
  doc.EnterElement();
  const std::u16string before = doc.text;
  EXPECT_FALSE(doc.InsertElement(std::u16string(1021, u'n').c_str(), u"x", 0));
  ExpectStatus("End tag too long");
  EXPECT_FALSE(doc.InsertElement(std::u16string(1u << 22, u'n').c_str(), nullptr, 0));
  ExpectStatus("Start tag too long");
  EXPECT_EQ(doc.text, before);
  EXPECT_TRUE(doc.InsertElement(std::u16string(1020, u'n').c_str(), u"x", 0));
  EXPECT_EQ(Fields(2).endTag, 1023u);
}

TEST_F(BuildTest, LongAttributeValueIsRefusedNotWrapped) {
  doc.InsertElement(u"r", nullptr, 0);
  const std::u16string value((1u << 22) - 4, u'v');
  EXPECT_FALSE(doc.SetAttributeText(1, u"a", value.c_str(), 0));
  ExpectStatus("Start tag too long");
  EXPECT_EQ(Fields(1).startTag, 4u);
}

TEST_F(BuildTest, DepthBeyondLimitIsRefused) {
  Load(u"<r/>");
  doc.Record(1).flags |= XRF_DEPTH;  // as deep as a record can say
  doc.currentPos = 1;
  doc.currentKind = XCK_ELEMENT;
  doc.EnterElement();
  EXPECT_FALSE(doc.InsertElement(u"c", nullptr, 0));
  ExpectStatus("Element too deep");
}

TEST_F(BuildTest, RecordsCrossSegmentBorder) {
  doc.InsertElement(u"r", nullptr, 0);
  doc.EnterElement();
  for (int i = 0; i < 65540; ++i) ASSERT_TRUE(doc.InsertElement(u"e", nullptr, XIO_NOCRLF));
  EXPECT_EQ(doc.recordsUsed, 65542);
  EXPECT_GE(doc.segmentSlots, 2);
  // Record 65536 is slot 0 of segment 1.
  EXPECT_EQ(&doc.Record(65536), &doc.segments[1][0]);
  EXPECT_EQ(Fields(65536).start, 38 + 3 + (65536 - 2) * 4);
  EXPECT_EQ(Fields(65536).prev, 65535);
  EXPECT_EQ(Fields(65535).next, 65536);
  ExpectRecordsMatchText();
}

TEST_F(BuildTest, ReserveRecordsOpensOneSegmentPerCall) {
  ASSERT_EQ(doc.capacity, 8);
  // Segment 0 is filled up and segment 1 opened, no further.
  doc.ReserveRecords(400000);
  EXPECT_EQ(doc.capacity, 131072);
  EXPECT_EQ(doc.segmentSlots, 4);
  doc.ReserveRecords(100);
  EXPECT_EQ(doc.capacity, 131072);
  doc.ReserveRecords(140000);
  EXPECT_EQ(doc.capacity, 140000);
  for (int i = 0; i < 3; ++i) doc.ReserveRecords(400000);
  EXPECT_EQ(doc.capacity, 6 * 65536);
  EXPECT_EQ(doc.segmentSlots, 12);
}

TEST_F(BuildTest, ParseKeepsSegmentsAndReusesRecords) {
  doc.ReserveRecords(70000);
  const std::int32_t capacity = doc.capacity;
  Load(u"<a/>");
  EXPECT_EQ(doc.capacity, capacity);
  EXPECT_EQ(doc.recordsUsed, 2);
}

TEST_F(BuildTest, EnterAfterInsertWritesFirstChild) {
  doc.InsertElement(u"r", nullptr, 0);
  doc.EnterElement();
  EXPECT_EQ(doc.currentPos, 0);
  EXPECT_EQ(doc.currentKind, XCK_NONE);
  EXPECT_FALSE(doc.EnterElement());
  EXPECT_FALSE(doc.SetAttributeText(1, u"a", u"1", 0));  // no current element
}

TEST_F(BuildTest, EditsShiftFollowingRecords) {
  Load(u"<r><a><b/></a><c/></r>");
  doc.currentPos = 2;
  doc.currentKind = XCK_ELEMENT;
  ASSERT_TRUE(doc.SetAttributeText(2, u"k", u"v", 0));
  ExpectText(u"<r><a k=\"v\"><b/></a><c/></r>");
  EXPECT_EQ(Fields(3).start, 12);
  EXPECT_EQ(Fields(4).start, 20);
  EXPECT_EQ(Fields(1).length, 28);
  ExpectSameRecordsAsReparse(doc);
}

TEST_F(BuildTest, ElementName) {
  Load(u"<r>\r\n<name\tx=\"1\"/></r>");
  EXPECT_EQ(Narrow(doc.ElementName(2)), "name");
  EXPECT_EQ(doc.ElementName(0), u"");
}

}  // namespace
