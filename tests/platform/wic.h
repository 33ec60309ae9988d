// The Windows Imaging Component for the tests' own picture readers: a
// second codec stack beside the GDI+ one the program writes with.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <wincodec.h>

#include <string>

namespace wic {

// Releases a COM interface at the end of its scope.
template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T** operator&() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

inline IWICImagingFactory* Factory() {
  static IWICImagingFactory* factory = [] {
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* made = nullptr;
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made));
    return made;
  }();
  return factory;
}

inline std::wstring Wide(const std::string& utf8) {
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

}  // namespace wic
