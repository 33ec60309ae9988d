#include "platform/text/binary_file.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace plumet::text {

std::FILE* OpenBinaryStream(const PathChar* path, const char* mode) {
#ifdef _WIN32
  // The name stays UTF-16; the C runtime's narrow fopen would pass it through the ANSI code page.
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return ::_wfopen(path != nullptr ? path : L"", wideMode.c_str());
#else
  return std::fopen(path != nullptr ? path : "", mode);
#endif
}

CBinaryFile::~CBinaryFile() { Close(); }

bool CBinaryFile::Open(const PathChar* path, const char* mode) {
  Close();
  stream_ = OpenBinaryStream(path, mode);
  return stream_ != nullptr;
}

namespace {

// The C runtime's fseek/ftell take a long, which is 32 bits on Windows: a
// file past 2 GiB would have no length there.
bool SeekTo(std::FILE* stream, std::int64_t offset, int origin) {
#ifdef _WIN32
  return ::_fseeki64(stream, offset, origin) == 0;
#else
  return ::fseeko(stream, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::int64_t Position(std::FILE* stream) {
#ifdef _WIN32
  return ::_ftelli64(stream);
#else
  return ::ftello(stream);
#endif
}

}  // namespace

std::int64_t CBinaryFile::Length() {
  if (stream_ == nullptr || !SeekTo(stream_, 0, SEEK_END)) return -1;
  const std::int64_t length = Position(stream_);
  if (length < 0 || !SeekTo(stream_, 0, SEEK_SET)) return -1;
  return length;
}

std::size_t CBinaryFile::Read(void* buffer, std::size_t bytes) {
  if (stream_ == nullptr) return 0;
  return std::fread(buffer, 1, bytes, stream_);
}

bool CBinaryFile::ReadToEnd(std::vector<unsigned char>& bytes, std::size_t limit, bool& tooLarge) {
  constexpr std::size_t kChunk = 1 << 16;
  bytes.clear();
  tooLarge = false;
  if (stream_ == nullptr) return false;
  while (true) {
    const std::size_t before = bytes.size();
    const std::size_t wanted = std::min(kChunk, limit - before + 1);
    bytes.resize(before + wanted);
    const std::size_t got = std::fread(bytes.data() + before, 1, wanted, stream_);
    bytes.resize(before + got);
    if (bytes.size() > limit) {
      tooLarge = true;
      return false;
    }
    if (got < wanted) return std::ferror(stream_) == 0;
  }
}

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
