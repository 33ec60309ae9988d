// Saving and reading files: bytes on disk, marks, status texts, failures.
#include <filesystem>
#include <fstream>

#include "save_fixture.h"
#include "system_here.h"
#include "xml/xml_file.h"

namespace {

constexpr const char16_t* kSvg = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg/>\r\n";
constexpr std::string_view kSvgBytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg/>\r\n";

TEST_F(SaveTest, Utf8DocumentHasNoMark) {
  Load(kSvg);
  ASSERT_TRUE(Save("a.svg"));
  EXPECT_EQ(FileBytes(Path("a.svg")), Bytes(kSvgBytes));
  ExpectStatus("UTF-8 length 46 from wide length 46 ");
  EXPECT_EQ(doc.documentFlags, 0u);
}

TEST_F(SaveTest, DeclaredCharsetIsUsed) {
  Load(u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\u00e9\u20ac</r>");
  ASSERT_TRUE(Save("a.xml"));
  EXPECT_EQ(FileBytes(Path("a.xml")), Bytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\xE9?</r>"));
  ExpectStatus("ISO-8859-1 length 52 from wide length 52 (chars lost in conversion!) ");
}

TEST_F(SaveTest, MarkupWithoutDeclarationIsUtf8) {
  Load(u"<r>\u00e9</r>");
  ASSERT_TRUE(Save("a.xml"));
  EXPECT_EQ(FileBytes(Path("a.xml")), Bytes("<r>\xC3\xA9</r>"));
  ExpectStatus("UTF-8 length 9 from wide length 8 ");
}

TEST_F(SaveTest, UnknownCharsetIsWrittenInDefault) {
  Load(u"<?xml encoding=\"no-such\"?><r>\u00e9</r>");
  ASSERT_TRUE(Save("a.xml"));
  EXPECT_EQ(FileBytes(Path("a.xml")).size(), 35u);
  ExpectStatus("no-such length 35 from wide length 34 ");
}

// A page no converter has used to be written as UTF-8 under its own
// declaration; now the save is refused and the old file is left alone.
// The pages are ones neither Linux's libraries nor Wine have.
TEST_F(SaveTest, CharsetWithoutConverterIsRefused) {
  if (RunningOnWindows() && !RunningUnderWine()) GTEST_SKIP() << "Windows converts every page of the table";
  WriteFile("a.xml", "old content");
  Load(u"<?xml encoding=\"x-europa\"?><r>\u00e9</r>");
  EXPECT_FALSE(Save("a.xml"));
  ExpectStatus("No converter for charset x-europa");
  EXPECT_EQ(FileBytes(Path("a.xml")), Bytes("old content"));
  std::u16string status;
  EXPECT_FALSE(WriteDocumentFile(File("a.xml").c_str(), u"<r/>", &status, nullptr, u"x-ia5"));
  EXPECT_EQ(Narrow(status), "No converter for charset x-ia5");
  // A mark decides the encoding whatever the text declares.
  doc.documentFlags = XDF_UTF8BOM;
  EXPECT_TRUE(Save("a.xml"));
  // Reading such a file is refused as well.
  WriteFile("b.xml", "<?xml encoding=\"x-ebcdic-koreanextended\"?><r>\xC7</r>");
  std::u16string text;
  EXPECT_FALSE(ReadDocumentFile(File("b.xml").c_str(), text, &status, nullptr, nullptr));
  EXPECT_EQ(Narrow(status), "No converter for charset x-ebcdic-koreanextended");
}

TEST_F(SaveTest, EmptyDocumentTruncatesFile) {
  WriteFile("a.xml", "old content");
  ASSERT_TRUE(Save("a.xml"));
  EXPECT_TRUE(FileBytes(Path("a.xml")).empty());
  ExpectStatus("0 length ");
}

TEST_F(SaveTest, LittleEndianMark) {
  Load(u"<r>\u00e9</r>");
  doc.documentFlags = XDF_UTF16LE;
  ASSERT_TRUE(Save("a.xml"));
  EXPECT_EQ(FileBytes(Path("a.xml")), Bytes(std::string_view("\xFF\xFE<\0r\0>\0\xE9\0<\0/\0r\0>\0", 18)));
  ExpectStatus("UTF-16LE BOM + length 8 ");
  EXPECT_EQ(doc.documentFlags, XDF_UTF16LE);
}

TEST_F(SaveTest, BigEndianMarkSwapsOnDiskOnly) {
  Load(u"<r>\u00e9</r>");
  const std::u16string before = doc.text;
  doc.documentFlags = XDF_UTF16BE;
  ASSERT_TRUE(Save("a.xml"));
  EXPECT_EQ(FileBytes(Path("a.xml")), Bytes(std::string_view("\xFE\xFF\0<\0r\0>\0\xE9\0<\0/\0r\0>", 18)));
  ExpectStatus("UTF-16BE BOM + endian swap length 8 ");
  EXPECT_EQ(doc.text, before);
}

// A UTF-8 mark used to be followed by the bytes of the declared charset.
TEST_F(SaveTest, Utf8MarkIsFollowedByUtf8WhateverIsDeclared) {
  Load(u"<?xml encoding=\"ISO-8859-1\"?><r>\u00e9</r>");
  doc.documentFlags = XDF_UTF8BOM;
  ASSERT_TRUE(Save("a.xml"));
  EXPECT_EQ(FileBytes(Path("a.xml")), Bytes("\xEF\xBB\xBF<?xml encoding=\"ISO-8859-1\"?><r>\xC3\xA9</r>"));
  ExpectStatus("UTF-8 length 38 from wide length 37 ");
}

// The UTF-16 names used to convert to nothing and report an empty file.
TEST_F(SaveTest, Utf16NamesAreWrittenAsUtf16) {
  Load(u"<?xml encoding=\"utf-16\"?><r/>");
  ASSERT_TRUE(Save("le.xml"));
  std::vector<unsigned char> le = FileBytes(Path("le.xml"));
  ASSERT_EQ(le.size(), doc.text.size() * 2);
  EXPECT_EQ(le[0], '<');
  EXPECT_EQ(le[1], 0);
  ExpectStatus("utf-16 length 29 ");
  Load(u"<?xml encoding=\"unicodeFFFE\"?><r/>");
  ASSERT_TRUE(Save("be.xml"));
  std::vector<unsigned char> be = FileBytes(Path("be.xml"));
  ASSERT_EQ(be.size(), doc.text.size() * 2);
  EXPECT_EQ(be[0], 0);
  EXPECT_EQ(be[1], '<');
  ExpectStatus("unicodeFFFE endian swap length 34 ");
}

// 4-byte units used to overflow a buffer sized in bytes from a unit count.
TEST_F(SaveTest, Utf32IsWrittenInFourByteUnits) {
  Load(u"<?xml encoding=\"UTF-32\"?><r>\U0001F600</r>");
  ASSERT_TRUE(Save("a.xml"));
  std::vector<unsigned char> bytes = FileBytes(Path("a.xml"));
  ASSERT_EQ(bytes.size(), 4u * 33);
  EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 4 * 28, bytes.begin() + 4 * 29),
            (std::vector<unsigned char>{0x00, 0xF6, 0x01, 0x00}));
  ExpectStatus("UTF-32 length 33 from wide length 34 ");
}

TEST_F(SaveTest, ForcedCharsetReplacesDeclared) {
  std::u16string status;
  std::uint32_t flags = 0;
  const std::u16string text = u"<?xml encoding=\"UTF-8\"?><r>\u00e9</r>";
  ASSERT_TRUE(WriteDocumentFile(File("a.xml").c_str(), text, &status, &flags, u"iso-8859-1"));
  EXPECT_EQ(Narrow(status), "UTF-8 forced iso-8859-1 length 32 from wide length 32 ");
  EXPECT_EQ(FileBytes(Path("a.xml")).back(), '>');
  EXPECT_EQ(FileBytes(Path("a.xml"))[27], 0xE9);
}

TEST_F(SaveTest, AppendWritesMarkOnlyIntoEmptyFile) {
  std::uint32_t flags = XDF_APPEND | XDF_UTF8BOM;
  ASSERT_TRUE(WriteDocumentFile(File("a.xml").c_str(), u"<a/>", nullptr, &flags, nullptr));
  flags = XDF_APPEND | XDF_UTF8BOM;
  ASSERT_TRUE(WriteDocumentFile(File("a.xml").c_str(), u"<b/>", nullptr, &flags, nullptr));
  EXPECT_EQ(FileBytes(Path("a.xml")), Bytes("\xEF\xBB\xBF<a/><b/>"));
  EXPECT_EQ(flags, XDF_UTF8BOM);

  // Past 2 GiB the length must still be found (a 32-bit ftell fails there):
  // the text goes on the end, with no mark. The file is sparse.
  constexpr std::uintmax_t kBig = (std::uintmax_t{1} << 31) + 5;
  std::filesystem::resize_file(Path("a.xml"), kBig);
  flags = XDF_APPEND | XDF_UTF8BOM;
  ASSERT_TRUE(WriteDocumentFile(File("a.xml").c_str(), u"<c/>", nullptr, &flags, nullptr));
  EXPECT_EQ(std::filesystem::file_size(Path("a.xml")), kBig + 4);
  std::ifstream big(Path("a.xml"), std::ios::binary);
  big.seekg(static_cast<std::streamoff>(kBig));
  std::string tail(4, '\0');
  big.read(tail.data(), 4);
  EXPECT_EQ(tail, "<c/>");
}

struct ReadCase {
  std::string_view bytes;
  const char* charset;
  std::uint32_t flags;
  const char16_t* text;
};

TEST_F(SaveTest, ReadStepFindsMarkAndCharset) {
  const ReadCase cases[] = {
      {std::string_view("\xEF\xBB\xBF<r>\xC3\xA9</r>"), "UTF-8", XDF_UTF8BOM, u"<r>\u00e9</r>"},
      {std::string_view("\xFF\xFE<\0r\0/\0>\0", 10), "UTF-16LE", XDF_UTF16LE, u"<r/>"},
      {std::string_view("\xFE\xFF\0<\0r\0/\0>", 10), "UTF-16BE", XDF_UTF16BE, u"<r/>"},
      {std::string_view("<?xml encoding=\"iso-8859-1\"?><r>\xE9</r>"), "iso-8859-1", 0,
       u"<?xml encoding=\"iso-8859-1\"?><r>\u00e9</r>"},
      {std::string_view("<r>\xC3\xA9</r>"), "UTF-8", 0, u"<r>\u00e9</r>"},
      {std::string_view("text"), "", 0, u"text"},
      {std::string_view(""), "", 0, u""},
  };
  for (const ReadCase& c : cases) {
    WriteFile("in.xml", c.bytes);
    std::u16string text;
    std::u16string status;
    std::u16string charset;
    std::uint32_t flags = 0;
    ASSERT_TRUE(ReadDocumentFile(File("in.xml").c_str(), text, &status, &flags, &charset));
    EXPECT_EQ(Narrow(charset), c.charset);
    EXPECT_EQ(flags, c.flags);
    EXPECT_EQ(text, c.text) << Narrow(c.text);
  }
}

// Without a mark, a declared "utf-16" or UTF-32 used to be converted with
// the byte count as the unit count: two or four times past the buffer.
TEST_F(SaveTest, ReadStepCountsUnitsOfWideCharsets) {
  struct WideCase {
    std::string_view bytes;
    std::u16string_view text;
  };
  const WideCase cases[] = {
      // An 8-bit declaration, then the units it names.
      {std::string_view("<?xml encoding='utf-16'?> <\0a\0/\0>\0", 34), u"<a/>"},
      {std::string_view("<?xml encoding='UTF-32'?>   <\0\0\0a\0\0\0/\0\0\0>\0\0\0", 44), u"<a/>"},
      // A unit cut off by the end of the file is not dropped.
      {std::string_view("<?xml encoding='unicode'?><\0a\0/\0>\0!", 35), u"<a/>\uFFFD"},
      {std::string_view("\xFF\xFE<\0a\0/\0>\0!", 11), u"<a/>\uFFFD"},
  };
  for (const WideCase& c : cases) {
    WriteFile("in.xml", c.bytes);
    std::u16string text;
    ASSERT_TRUE(ReadDocumentFile(File("in.xml").c_str(), text, nullptr, nullptr, nullptr));
    const std::size_t markLength = c.bytes[0] == '\xFF' ? 2 : 0;
    const std::size_t unit = c.bytes.find("UTF-32") != std::string_view::npos ? 4 : 2;
    EXPECT_EQ(text.size(), (c.bytes.size() - markLength + unit - 1) / unit) << Narrow(c.text);
    EXPECT_EQ(std::u16string_view(text).substr(text.size() - c.text.size()), c.text) << Narrow(c.text);
  }
}

TEST_F(SaveTest, SavedFileReadsBackToSameText) {
  Load(u"<?xml version=\"1.0\" encoding=\"windows-1251\"?><r a=\"\u0416\">\u0436</r>");
  const std::u16string before = doc.text;
  ASSERT_TRUE(Save("a.xml"));
  std::u16string text;
  ASSERT_TRUE(ReadDocumentFile(File("a.xml").c_str(), text, nullptr, nullptr, nullptr));
  EXPECT_EQ(text, before);
}

}  // namespace
