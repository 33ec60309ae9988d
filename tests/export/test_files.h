// Files and folders for the export tests: a scratch folder and whole-file
// reads (test_files_posix.h has what only Linux offers).
#pragma once

#include <string>
#include <vector>

namespace export_test {

// A fresh folder in the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Names in the folder, sorted; "." and ".." left out.
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
}  // namespace export_test
