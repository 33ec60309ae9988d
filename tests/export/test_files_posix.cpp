#include "tests/export/test_files_posix.h"

#include <sys/mount.h>
#include <unistd.h>

#include <stdexcept>

namespace export_test {

struct stat StatusOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) throw std::runtime_error("cannot stat " + path);
  return status;
}

struct stat LinkStatusOf(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) throw std::runtime_error("cannot lstat " + path);
  return status;
}

SmallDisk::SmallDisk(const std::string& folder, int kilobytes) : folder_(folder) {
  const std::string options = "size=" + std::to_string(kilobytes) + "k";
  mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount(folder_.c_str());
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &savedAction_);
  ::getrlimit(RLIMIT_FSIZE, &saved_);
  struct rlimit limit = saved_;
  limit.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  ::setrlimit(RLIMIT_FSIZE, &saved_);
  ::sigaction(SIGXFSZ, &savedAction_, nullptr);
}

}  // namespace export_test
