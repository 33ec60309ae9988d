// Replacing a file safely: a temporary beside the target, renamed over it
// only when whole; links followed, permissions kept, devices written in place.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/codecs/safe_file_write.h"
#include "tests/export/test_files_posix.h"

namespace {

using namespace export_test;
using plumet::codecs::WriteFileSafely;

// Writes the bytes as the encoders do, through a buffered stream, and
// reports what the stream reports.
bool WriteThrough(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return (std::fclose(file) == 0) && written;
}

plumet::codecs::FileWriter Writing(const std::string& bytes) {
  return [bytes](const std::string& path) { return WriteThrough(path, bytes); };
}

mode_t Umask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

class SafeFileWrite : public testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(SafeFileWrite, MakesANewFileWithTheModeOfAPlainCreate) {
  ASSERT_TRUE(WriteFileSafely(folder_ / "new.png", Writing("picture")));
  EXPECT_EQ(ReadBytes(folder_ / "new.png"), "picture");
  EXPECT_EQ(StatusOf(folder_ / "new.png").st_mode & 07777, 0666 & ~Umask());
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"new.png"});
}

TEST_F(SafeFileWrite, WritesBesideTheTargetAndReplacesItOnlyWhenDone) {
  WriteBytes(folder_ / "a.tiff", "old");
  std::string seenPath;
  std::string targetWhileWriting;
  ASSERT_TRUE(WriteFileSafely(folder_ / "a.tiff", [&](const std::string& path) {
    seenPath = path;
    const bool written = WriteThrough(path, "new");
    targetWhileWriting = ReadBytes(folder_ / "a.tiff");
    return written;
  }));
  EXPECT_NE(seenPath, folder_ / "a.tiff");
  EXPECT_EQ(std::filesystem::path(seenPath).parent_path(), folder_.Path());
  EXPECT_EQ(targetWhileWriting, "old");
  EXPECT_EQ(ReadBytes(folder_ / "a.tiff"), "new");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"a.tiff"});
}

TEST_F(SafeFileWrite, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  WriteBytes(folder_ / "a.png", "old");
  EXPECT_FALSE(WriteFileSafely(folder_ / "a.png", [](const std::string& path) {
    WriteThrough(path, "half a pict");
    return false;
  }));
  EXPECT_EQ(ReadBytes(folder_ / "a.png"), "old");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"a.png"});
}

TEST_F(SafeFileWrite, AnExistingFileKeepsItsPermissionsAndOwner) {
  WriteBytes(folder_ / "shared.svg", "old");
  ASSERT_EQ(::chmod((folder_ / "shared.svg").c_str(), 0604), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown((folder_ / "shared.svg").c_str(), 1234, 5678), 0);
  }

  mode_t modeWhileWriting = 0;
  ASSERT_TRUE(WriteFileSafely(folder_ / "shared.svg", [&](const std::string& path) {
    modeWhileWriting = StatusOf(path).st_mode & 07777;
    return WriteThrough(path, "new");
  }));
  // Private while written, so that a read-only mode cannot stop a non-root writer.
  EXPECT_EQ(modeWhileWriting, 0600u);
  const struct stat status = StatusOf(folder_ / "shared.svg");
  EXPECT_EQ(status.st_mode & 07777, 0604u);
  if (root) {
    EXPECT_EQ(status.st_uid, 1234u);
    EXPECT_EQ(status.st_gid, 5678u);
  }
  EXPECT_EQ(ReadBytes(folder_ / "shared.svg"), "new");
}

TEST_F(SafeFileWrite, ReplacesWhatALinkPointsToAndKeepsTheLink) {
  std::filesystem::create_directory(folder_ / "real");
  WriteBytes(folder_ / "real/picture.png", "old");
  // A relative link to an absolute one: a chain of two.
  std::filesystem::create_symlink(folder_ / "real/picture.png", folder_ / "absolute.png");
  std::filesystem::create_symlink("absolute.png", folder_ / "relative.png");

  ASSERT_TRUE(WriteFileSafely(folder_ / "relative.png", Writing("new")));
  EXPECT_TRUE(S_ISLNK(LinkStatusOf(folder_ / "relative.png").st_mode));
  EXPECT_TRUE(S_ISLNK(LinkStatusOf(folder_ / "absolute.png").st_mode));
  EXPECT_EQ(std::filesystem::read_symlink(folder_ / "relative.png"), "absolute.png");
  EXPECT_EQ(ReadBytes(folder_ / "real/picture.png"), "new");
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"absolute.png", "real", "relative.png"}));
  EXPECT_EQ(std::filesystem::directory_iterator(folder_ / "real")->path().filename(), "picture.png");
}

TEST_F(SafeFileWrite, ADanglingLinkGetsTheFileItNames) {
  std::filesystem::create_symlink("later.svg", folder_ / "link.svg");
  ASSERT_TRUE(WriteFileSafely(folder_ / "link.svg", Writing("new")));
  EXPECT_TRUE(S_ISLNK(LinkStatusOf(folder_ / "link.svg").st_mode));
  EXPECT_EQ(ReadBytes(folder_ / "later.svg"), "new");
}

// A pipe nobody reads would hold the program forever: refused like a folder,
// each with the system's reason.
TEST_F(SafeFileWrite, RefusesALinkLoopAFolderAPipeASocketAndAMissingFolder) {
  std::filesystem::create_symlink("loop-b", folder_ / "loop-a");
  std::filesystem::create_symlink("loop-a", folder_ / "loop-b");
  std::filesystem::create_directory(folder_ / "folder");
  ASSERT_EQ(::mkfifo((folder_ / "pipe").c_str(), 0600), 0);
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = folder_ / "socket";
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  bool called = false;
  const auto spy = [&called](const std::string&) { return called = true; };

  const std::pair<std::string, int> refused[] = {{"loop-a", ELOOP}, {"folder", EISDIR}, {"pipe", ENXIO},
                                                 {"socket", ENXIO}, {"missing/picture.png", ENOENT}};
  for (const auto& [name, error] : refused) {
    SCOPED_TRACE(name);
    errno = 0;
    EXPECT_FALSE(WriteFileSafely(folder_ / name, spy));
    EXPECT_EQ(errno, error);
  }
  ::close(listener);
  EXPECT_FALSE(called);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "folder"));
  EXPECT_TRUE(std::filesystem::is_empty(folder_ / "folder"));
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"folder", "loop-a", "loop-b", "pipe", "socket"}));
}

// A writer that opened some other name leaves the temporary empty; putting
// that in place of the target would lose the user's file.
TEST_F(SafeFileWrite, AWriteThatMissedTheTemporaryKeepsTheOldFile) {
  WriteBytes(folder_ / "a.svg", "old");
  EXPECT_FALSE(WriteFileSafely(folder_ / "a.svg", [this](const std::string&) {
    return WriteThrough(folder_ / "elsewhere", "new");
  }));
  EXPECT_EQ(errno, EIO);
  EXPECT_EQ(ReadBytes(folder_ / "a.svg"), "old");
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"a.svg", "elsewhere"}));
}

TEST_F(SafeFileWrite, WritesADeviceInPlace) {
  std::string seenPath;
  ASSERT_TRUE(WriteFileSafely("/dev/null", [&](const std::string& path) {
    seenPath = path;
    return WriteThrough(path, "gone");
  }));
  EXPECT_EQ(seenPath, "/dev/null");
  EXPECT_TRUE(S_ISCHR(LinkStatusOf("/dev/null").st_mode));
}

TEST_F(SafeFileWrite, AFullDiskLeavesTheOldFileAndNoTemporary) {
  const SmallDisk disk(folder_.Path(), 64);
  if (!disk.Mounted()) GTEST_SKIP() << "this machine cannot mount a tmpfs";
  WriteBytes(folder_ / "a.png", "old");
  EXPECT_FALSE(WriteFileSafely(folder_ / "a.png", Writing(std::string(256 * 1024, 'x'))));
  EXPECT_EQ(ReadBytes(folder_ / "a.png"), "old");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"a.png"});
}

TEST_F(SafeFileWrite, TheFileSizeLimitLeavesTheOldFileAndNoTemporary) {
  WriteBytes(folder_ / "a.png", "old");
  bool written = true;
  {
    const FileSizeLimit limit(4096);
    written = WriteFileSafely(folder_ / "a.png", Writing(std::string(64 * 1024, 'x')));
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(folder_ / "a.png"), "old");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"a.png"});
}

// The temporary's name is the start of the target's, shortened for long
// names without cutting a character: 70 three-byte characters and ".svg".
TEST_F(SafeFileWrite, ALongNameStillGetsATemporaryOfWholeCharacters) {
  std::string wide;
  for (int i = 0; i < 70; ++i) wide += "\xE7\x94\xBB";  // U+753B
  for (const std::string& name : {std::string(250, 'n') + ".png", wide + ".svg"}) {
    std::string temporary;
    ASSERT_TRUE(WriteFileSafely(folder_ / name, [&temporary](const std::string& path) {
      temporary = std::filesystem::path(path).filename();
      return WriteThrough(path, "new");
    }));
    const std::string stem = temporary.substr(1, temporary.size() - std::string(".XXXXXX").size() - 1);
    EXPECT_EQ(temporary.front(), '.');
    EXPECT_EQ(name.rfind(stem, 0), 0u);
    EXPECT_GE(stem.size(), 198u);
    EXPECT_NE(static_cast<unsigned char>(name[stem.size()]) & 0xC0, 0x80) << "a character cut at " << stem.size();
    EXPECT_EQ(ReadBytes(folder_ / name), "new");
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{name});
    std::filesystem::remove(folder_ / name);
  }
}

void ExitOnSignal(int) { ::_exit(3); }

// A logout's SIGTERM or SIGHUP, or a terminal's SIGINT, in the middle of a
// write ends the program only once the temporary is gone: with the signal's
// default action and with a handler of the program's own.
TEST_F(SafeFileWrite, AnEndingSignalDuringTheWriteLeavesNoTemporary) {
  const std::string target = folder_ / "a.png";
  const auto interrupted = [target](int signal) {
    return WriteFileSafely(target, [signal](const std::string& path) {
      ::kill(::getpid(), signal);
      return WriteThrough(path, "new");
    });
  };
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(signal);
    WriteBytes(target, "old");
    EXPECT_EXIT(interrupted(signal), testing::KilledBySignal(signal), "");
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"a.png"});
  }
  WriteBytes(target, "old");
  EXPECT_EXIT(
      {
        std::signal(SIGTERM, ExitOnSignal);
        interrupted(SIGTERM);
      },
      testing::ExitedWithCode(3), "");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"a.png"});
  // The signal waited for the rename: the new file is whole and in place.
  EXPECT_EQ(ReadBytes(target), "new");
}

}  // namespace
