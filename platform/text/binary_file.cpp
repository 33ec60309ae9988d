#include "platform/text/binary_file.h"

#include <cstdio>

namespace plumet::text {

CBinaryFile::~CBinaryFile() { Close(); }

bool CBinaryFile::Open(const PathChar* path, const char* mode) {
  Close();
  stream_ = std::fopen(path != nullptr ? path : "", mode);
  return stream_ != nullptr;
}

std::int64_t CBinaryFile::Length() {
  if (stream_ == nullptr || std::fseek(stream_, 0, SEEK_END) != 0) return -1;
  long length = std::ftell(stream_);
  if (length < 0 || std::fseek(stream_, 0, SEEK_SET) != 0) return -1;
  return length;
}

bool CBinaryFile::Seek(std::int64_t offset) {
  return stream_ != nullptr && std::fseek(stream_, static_cast<long>(offset), SEEK_SET) == 0;
}

std::size_t CBinaryFile::Read(void* buffer, std::size_t bytes) {
  if (stream_ == nullptr) return 0;
  return std::fread(buffer, 1, bytes, stream_);
}

bool CBinaryFile::ReadFailed() const { return stream_ == nullptr || std::ferror(stream_) != 0; }

bool CBinaryFile::Write(const void* data, std::size_t bytes) {
  if (stream_ == nullptr) return false;
  return bytes == 0 || std::fwrite(data, 1, bytes, stream_) == bytes;
}

bool CBinaryFile::Close() {
  if (stream_ == nullptr) return true;
  std::FILE* stream = stream_;
  stream_ = nullptr;
  return std::fclose(stream) == 0;
}

}  // namespace plumet::text
