// Saving and reading files in a fresh folder of the system's temporary folder.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "platform/text/system_path.h"
#include "xml_test_support.h"

class SaveTest : public XmlDocumentTest {
 protected:
  void SetUp() override {
    std::random_device random;
    do folder_ = std::filesystem::temp_directory_path() / ("plumet-xml-test-" + std::to_string(random()));
    while (!std::filesystem::create_directory(folder_));
    dir_ = folder_.generic_string();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // A name in the folder, in UTF-8 for the test's own reading and writing...
  std::string Path(const char* name) const { return dir_ + "/" + name; }
  // ...and as the file system takes it, for the component under test.
  plumet::text::SystemPath File(const char* name) const { return plumet::text::SystemPathFromUtf8(Path(name)); }
  bool Save(const char* name) { return doc.SaveToFile(File(name).c_str()); }
  void WriteFile(const char* name, std::string_view bytes) const {
    std::ofstream(Path(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  std::filesystem::path folder_;
  std::string dir_;
};
