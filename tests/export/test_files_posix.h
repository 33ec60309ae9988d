// File status, and the two ways to make a write fail on a root-run Linux
// machine.
#pragma once

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>

#include "tests/export/test_files.h"

namespace export_test {

struct stat StatusOf(const std::string& path);      // follows links
struct stat LinkStatusOf(const std::string& path);  // does not

// A small tmpfs mounted over a folder: a disk that fills up. Mounted() is
// false where the machine does not allow it.
class SmallDisk {
 public:
  SmallDisk(const std::string& folder, int kilobytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool Mounted() const { return mounted_; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

// Files of this process cannot grow beyond bytes; writes past it fail with
// EFBIG instead of killing the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  struct rlimit saved_ {};
  struct sigaction savedAction_ {};
};

}  // namespace export_test
