// A file opened in binary mode, in the shape of the C runtime's stream
// functions. Failures leave the system's error for SystemErrorText().
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/text/system_path.h"

namespace plumet::text {

// A C runtime stream over the named file, the name reaching the file system
// as it is; nullptr on failure, with the system's error left.
std::FILE* OpenBinaryStream(const PathChar* path, const char* mode);

class CBinaryFile {
 public:
  CBinaryFile() = default;
  ~CBinaryFile();
  CBinaryFile(const CBinaryFile&) = delete;
  CBinaryFile& operator=(const CBinaryFile&) = delete;

  // The path reaches the file system as it is; the mode is a C runtime mode
  // string ("rb", "wb", "ab").
  bool Open(const PathChar* path, const char* mode);
  bool IsOpen() const { return stream_ != nullptr; }
  // Bytes in the file, read by seeking to its end; -1 on failure. The
  // position is left at the start.
  std::int64_t Length();
  // Bytes read; fewer than asked at the end of the file or on failure.
  std::size_t Read(void* buffer, std::size_t bytes);
  // Everything from the current position to the end, by reading: pipes,
  // character devices and /proc files have no length to seek to. False on
  // a read error (a folder: "Is a directory") or when more than limit bytes
  // come; tooLarge tells the two apart.
  bool ReadToEnd(std::vector<unsigned char>& bytes, std::size_t limit, bool& tooLarge);
  bool Write(const void* data, std::size_t bytes);
  // Flushes and closes; a failed flush (a full disk) is a failed close.
  bool Close();

 private:
  std::FILE* stream_ = nullptr;
};

}  // namespace plumet::text
