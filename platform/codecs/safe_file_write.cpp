#include "platform/codecs/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace plumet::codecs {
namespace {

constexpr int kMaxLinks = 40;  // the kernel's own limit on a chain of links
// Leaves room in a file name for the temporary name's dot and suffix.
constexpr std::size_t kMaxTemporaryStem = 200;

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a chain of symbolic links ends; that file need not exist yet.
// Nothing for a loop or a link that cannot be read.
std::optional<std::string> FollowLinks(std::string path) {
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char link[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof link) return std::nullopt;
    const std::string to(link, static_cast<std::size_t>(length));
    path = to.front() == '/' ? to : Folder(path) + "/" + to;
  }
  return std::nullopt;
}

// What open(2) would give a new file.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Owner first: a change of owner clears the set-id bits that the mode restores.
bool TakeOverAttributes(int fd, const struct stat* existing) {
  if (!existing) return ::fchmod(fd, NewFileMode()) == 0;
  // A user who may not give files away gets the new file as their own, as
  // with any editor; the permissions still carry over.
  const bool owned = ::fchown(fd, existing->st_uid, existing->st_gid) == 0 || errno == EPERM;
  return owned && ::fchmod(fd, existing->st_mode & 07777) == 0;
}

// The rename is durable only once the folder's entry is on disk too. The
// file is already in place, so a failure here cannot be undone or reported.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool WriteFileSafely(const std::string& target, const FileWriter& write) {
  const std::optional<std::string> resolved = FollowLinks(target);
  if (!resolved) return false;
  struct stat existing {};
  const bool exists = ::stat(resolved->c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return false;
  // A device or a pipe cannot be replaced by renaming; it takes the bytes.
  if (exists && !S_ISREG(existing.st_mode)) return write(*resolved);

  const std::string folder = Folder(*resolved);
  std::string temporary = folder + "/." + BaseName(*resolved).substr(0, kMaxTemporaryStem) + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  // The temporary stays private to us while it is written, so that even a
  // read-only mode taken over from the target cannot stop the write.
  const bool ready = write(temporary) && TakeOverAttributes(fd, exists ? &existing : nullptr) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!ready || !closed || ::rename(temporary.c_str(), resolved->c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(folder);
  return true;
}

}  // namespace plumet::codecs
