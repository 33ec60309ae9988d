// Replacing a file safely on Windows: a temporary beside the target, moved
// over it only when whole, the name UTF-16 throughout.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/codecs/safe_file_write.h"
#include "platform/text/system_path.h"
#include "tests/export/test_files.h"

namespace {

using namespace export_test;
using plumet::codecs::SystemPath;
using plumet::codecs::WriteFileSafely;
using plumet::text::SystemPathFromUtf8;

// Writes the bytes as the encoders do: by the name, through the C runtime.
plumet::codecs::FileWriter Writing(const std::string& bytes) {
  return [bytes](const SystemPath& path) {
    std::FILE* file = ::_wfopen(path.c_str(), L"wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return (std::fclose(file) == 0) && written;
  };
}

class SafeFileWrite : public testing::Test {
 protected:
  SystemPath File(const std::string& name) const { return SystemPathFromUtf8(folder_ / name); }
  TempFolder folder_;
};

TEST_F(SafeFileWrite, WritesBesideTheTargetAndReplacesItOnlyWhenDone) {
  WriteBytes(folder_ / "a.tiff", "old");
  SystemPath seenPath;
  std::string targetWhileWriting;
  ASSERT_TRUE(WriteFileSafely(File("a.tiff"), [&](const SystemPath& path) {
    seenPath = path;
    targetWhileWriting = ReadBytes(folder_ / "a.tiff");
    return Writing("new")(path);
  }));
  EXPECT_EQ(targetWhileWriting, "old");
  EXPECT_EQ(std::filesystem::path(seenPath).parent_path(), std::filesystem::path(File("a.tiff")).parent_path());
  EXPECT_NE(seenPath, File("a.tiff"));
  EXPECT_EQ(ReadBytes(folder_ / "a.tiff"), "new");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"a.tiff"});
}

TEST_F(SafeFileWrite, AFailedOrEmptyWriteLeavesTheTargetAndNoTemporary) {
  WriteBytes(folder_ / "a.png", "old");
  EXPECT_FALSE(WriteFileSafely(File("a.png"), [](const SystemPath&) { return false; }));
  EXPECT_FALSE(WriteFileSafely(File("a.png"), Writing("")));  // a writer that wrote nothing
  EXPECT_FALSE(WriteFileSafely(File("a.png"), [](const SystemPath& path) {
    Writing("half")(path);
    return false;
  }));
  EXPECT_EQ(ReadBytes(folder_ / "a.png"), "old");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"a.png"});
}

TEST_F(SafeFileWrite, RefusesAFolderAndAMissingFolderWithTheSystemsError) {
  std::filesystem::create_directory(std::filesystem::path(File("folder.png")));
  EXPECT_FALSE(WriteFileSafely(File("folder.png"), Writing("x")));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(File("folder.png"))));
  EXPECT_FALSE(WriteFileSafely(File("missing/a.png"), Writing("x")));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

// Names outside every ANSI code page, in the target and in the temporary
// made from it, reach the file system whole.
TEST_F(SafeFileWrite, KeepsUtf16NamesWhole) {
  const std::string name = "\xE2\x98\x83\xF0\x9F\x96\x8A.png";
  ASSERT_TRUE(WriteFileSafely(File(name), Writing("snow")));
  std::ifstream file(std::filesystem::path(File(name)), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "snow");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), std::filesystem::directory_iterator()),
            1);
}

}  // namespace
