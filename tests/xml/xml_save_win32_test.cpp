// Saving and reading files: what only Windows shows (its error texts,
// UTF-16 names).
#include <windows.h>

#include "save_fixture.h"
#include "win32_error_text.h"
#include "xml/xml_file.h"

namespace {

constexpr const char16_t* kSvg = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg/>\r\n";

TEST_F(SaveTest, UnwritableTargetGivesSystemErrorText) {
  Load(kSvg);
  EXPECT_FALSE(doc.SaveToFile(File("missing/a.svg").c_str()));
  ExpectStatus(Win32ErrorText(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(doc.SaveToFile(plumet::text::SystemPathFromUtf8(dir_).c_str()));  // a folder
  ExpectStatus(Win32ErrorText(ERROR_ACCESS_DENIED));
}

TEST_F(SaveTest, ReadingMissingFileFails) {
  std::u16string text;
  std::u16string status;
  EXPECT_FALSE(ReadDocumentFile(File("none.xml").c_str(), text, &status, nullptr, nullptr));
  EXPECT_EQ(Narrow(status), Win32ErrorText(ERROR_FILE_NOT_FOUND));
}

// Names are UTF-16 to the end: a character outside every ANSI code page and
// one outside the Basic Multilingual Plane survive, where a narrowed name
// would have become "?".
TEST_F(SaveTest, PathReachesTheFileSystemAsUtf16) {
  Load(kSvg);
  for (const char* name : {"\xC3\xA9\xE2\x98\x83.svg", "\xF0\x9F\x96\x8A.svg"}) {
    ASSERT_TRUE(doc.SaveToFile(File(name).c_str()));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(File(name)))) << name;
    std::u16string text;
    ASSERT_TRUE(ReadDocumentFile(File(name).c_str(), text, nullptr, nullptr, nullptr));
    EXPECT_EQ(text, kSvg);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 2);
}

}  // namespace
