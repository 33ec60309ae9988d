// Saving and reading files: what only a POSIX system shows (its error
// texts, /dev/full, names as bytes).
#include <cerrno>
#include <cstring>

#include "save_fixture.h"
#include "xml/xml_file.h"

namespace {

constexpr const char16_t* kSvg = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg/>\r\n";
constexpr std::string_view kSvgBytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg/>\r\n";

TEST_F(SaveTest, UnwritableTargetGivesSystemErrorText) {
  Load(kSvg);
  EXPECT_FALSE(doc.SaveToFile((dir_ + "/missing/a.svg").c_str()));
  ExpectStatus(std::strerror(ENOENT));
  EXPECT_FALSE(doc.SaveToFile(dir_.c_str()));  // a directory
  ExpectStatus(std::strerror(EISDIR));
}

// A failed flush used to be reported as a successful save.
TEST_F(SaveTest, FullDiskGivesSystemErrorText) {
  Load(kSvg);
  EXPECT_FALSE(doc.SaveToFile("/dev/full"));
  ExpectStatus("UTF-8 " + std::string(std::strerror(ENOSPC)));
  doc.documentFlags = XDF_UTF16BE;
  EXPECT_FALSE(doc.SaveToFile("/dev/full"));
  EXPECT_NE(Narrow(doc.statusText).find(std::strerror(ENOSPC)), std::string::npos);
}

// Names are bytes: UTF-8, Latin-1 that is no UTF-8 at all, the same bytes.
TEST_F(SaveTest, PathReachesTheFileSystemAsItsBytes) {
  Load(kSvg);
  for (const char* name : {"\xC3\xA9.svg", "caf\xE9.svg"}) {
    ASSERT_TRUE(doc.SaveToFile(Path(name).c_str()));
    EXPECT_EQ(FileBytes(Path(name)), Bytes(kSvgBytes));
  }
}

TEST_F(SaveTest, ReadingMissingFileFails) {
  std::u16string text;
  std::u16string status;
  EXPECT_FALSE(ReadDocumentFile(Path("none.xml").c_str(), text, &status, nullptr, nullptr));
  EXPECT_EQ(Narrow(status), std::strerror(ENOENT));
}

}  // namespace
