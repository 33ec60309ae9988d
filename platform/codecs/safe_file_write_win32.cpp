// Safe replacement on Windows: the temporary is made next to the target,
// flushed to disk and moved over it with MOVEFILE_WRITE_THROUGH. Names stay
// UTF-16 all the way. The last error (GetLastError) tells why it failed.
#include "platform/codecs/safe_file_write.h"

#include <windows.h>

#include <cerrno>

namespace plumet::codecs {
namespace {

// Leaves room in a file name for the temporary name's dot and suffix.
constexpr std::size_t kMaxTemporaryStem = 200;
constexpr int kTemporaryAttempts = 100;

std::size_t LastSeparator(const SystemPath& path) { return path.find_last_of(L"\\/"); }

SystemPath Folder(const SystemPath& path) {
  const std::size_t separator = LastSeparator(path);
  return separator == SystemPath::npos ? SystemPath(L".") : path.substr(0, separator);
}

// The start of the name, not cut between the two halves of a surrogate pair.
SystemPath TemporaryStem(const SystemPath& path) {
  const std::size_t separator = LastSeparator(path);
  SystemPath name = separator == SystemPath::npos ? path : path.substr(separator + 1);
  if (name.size() <= kMaxTemporaryStem) return name;
  std::size_t cut = kMaxTemporaryStem;
  if (name[cut] >= 0xDC00 && name[cut] <= 0xDFFF) --cut;
  return name.substr(0, cut);
}

// A new empty file in the target's folder, under a name no other file has;
// nothing when none can be made.
bool MakeTemporary(const SystemPath& target, SystemPath& temporary) {
  const SystemPath stem = Folder(target) + L"\\." + TemporaryStem(target) + L".";
  const DWORD start = ::GetTickCount() ^ ::GetCurrentProcessId();
  for (int i = 0; i < kTemporaryAttempts; ++i) {
    temporary = stem + std::to_wstring(start + static_cast<DWORD>(i)) + L".tmp";
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      ::CloseHandle(file);
      return true;
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

// The writer opens the temporary by its name; it must have grown there, and
// its bytes must be on disk before it takes the target's place.
bool HoldsTheWriteOnDisk(const SystemPath& temporary) {
  const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool held = ::GetFileSizeEx(file, &size) != 0;
  if (held && size.QuadPart == 0) {
    ::SetLastError(ERROR_WRITE_FAULT);
    held = false;
  }
  held = held && ::FlushFileBuffers(file) != 0;
  const DWORD error = ::GetLastError();
  ::CloseHandle(file);
  ::SetLastError(error);
  return held;
}

}  // namespace

bool WriteFileSafely(const SystemPath& target, const FileWriter& write) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ::SetLastError(ERROR_ACCESS_DENIED);  // what CreateFileW says when asked to write a folder
    return false;
  }
  SystemPath temporary;
  if (!MakeTemporary(target, temporary)) return false;
  ::SetLastError(0);
  errno = 0;
  if (write(temporary) && HoldsTheWriteOnDisk(temporary) &&
      ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
    return true;
  const DWORD error = ::GetLastError();
  ::DeleteFileW(temporary.c_str());
  ::SetLastError(error);
  return false;
}

}  // namespace plumet::codecs
