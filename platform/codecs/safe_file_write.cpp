#include "platform/codecs/safe_file_write.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

namespace plumet::codecs {
namespace {

constexpr int kMaxLinks = 40;  // the kernel's own limit on a chain of links
// Leaves room in a file name for the temporary name's dot and suffix.
constexpr std::size_t kMaxTemporaryStem = 200;
// The longest run of UTF-8 continuation bytes in one character.
constexpr std::size_t kMaxContinuationBytes = 3;

SystemPath Folder(const SystemPath& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == SystemPath::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

SystemPath BaseName(const SystemPath& path) {
  const std::size_t slash = path.rfind('/');
  return slash == SystemPath::npos ? path : path.substr(slash + 1);
}

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The start of a name, shortened where needed without cutting a UTF-8
// character in two; a name in another encoding loses at most a few more bytes.
SystemPath TemporaryStem(const SystemPath& name) {
  if (name.size() <= kMaxTemporaryStem) return name;
  std::size_t cut = kMaxTemporaryStem;
  for (std::size_t i = 0; i < kMaxContinuationBytes && IsContinuationByte(name[cut]); ++i) --cut;
  return name.substr(0, cut);
}

// Where a chain of symbolic links ends; that file need not exist yet.
// Nothing for a loop or a link that cannot be read.
std::optional<SystemPath> FollowLinks(SystemPath path) {
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char link[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
    if (length <= 0) return std::nullopt;
    if (static_cast<std::size_t>(length) == sizeof link) {
      errno = ENAMETOOLONG;
      return std::nullopt;
    }
    const SystemPath to(link, static_cast<std::size_t>(length));
    path = to.front() == '/' ? to : Folder(path) + "/" + to;
  }
  errno = ELOOP;
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

// The writer opens the temporary by its name. The name must still be the
// file made for it, and that file must have grown: a write that went to
// another file would otherwise put an empty file in place of the target.
bool HoldsTheWrite(int fd, const SystemPath& temporary) {
  struct stat made {};
  struct stat named {};
  if (::fstat(fd, &made) != 0 || ::stat(temporary.c_str(), &named) != 0) return false;
  if (made.st_dev == named.st_dev && made.st_ino == named.st_ino && made.st_size > 0) return true;
  errno = EIO;
  return false;
}

// The rename is durable only once the folder's entry is on disk too. The
// file is already in place, so a failure here cannot be undone or reported.
void SyncFolder(const SystemPath& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The signals a logout or a terminal sends wait while a temporary file
// exists; one that came meanwhile is delivered, with whatever action the
// program gave it, when this ends.
class EndingSignalsHeld {
 public:
  EndingSignalsHeld() {
    sigset_t ending;
    sigemptyset(&ending);
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaddset(&ending, signal);
    pthread_sigmask(SIG_BLOCK, &ending, &before_);
  }
  ~EndingSignalsHeld() {
    const int error = errno;
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    errno = error;
  }
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

 private:
  sigset_t before_;
};

bool ReplaceThroughTemporary(const SystemPath& target, const struct stat* existing, const FileWriter& write) {
  const SystemPath folder = Folder(target);
  SystemPath temporary = folder + "/." + TemporaryStem(BaseName(target)) + ".XXXXXX";
  const EndingSignalsHeld held;
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  // The temporary stays private to us while it is written, so that even a
  // read-only mode taken over from the target cannot stop the write.
  errno = 0;
  bool done = write(temporary) && HoldsTheWrite(fd, temporary) && TakeOverAttributes(fd, existing) &&
              ::fsync(fd) == 0;
  if (::close(fd) != 0) done = false;
  if (done && ::rename(temporary.c_str(), target.c_str()) == 0) {
    SyncFolder(folder);
    return true;
  }
  const int error = errno;
  ::unlink(temporary.c_str());
  errno = error;
  return false;
}

}  // namespace

bool WriteFileSafely(const SystemPath& target, const FileWriter& write) {
  const std::optional<SystemPath> resolved = FollowLinks(target);
  if (!resolved) return false;
  struct stat existing {};
  const bool exists = ::stat(resolved->c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    errno = EISDIR;
    return false;
  }
  // Opening a pipe or socket for writing waits for a reader that may never
  // come; the system's word for a write with nobody there is ENXIO.
  if (exists && (S_ISFIFO(existing.st_mode) || S_ISSOCK(existing.st_mode))) {
    errno = ENXIO;
    return false;
  }
  // A device cannot be replaced by renaming; it takes the bytes.
  if (exists && !S_ISREG(existing.st_mode)) {
    errno = 0;
    return write(*resolved);
  }
  return ReplaceThroughTemporary(*resolved, exists ? &existing : nullptr, write);
}

}  // namespace plumet::codecs
