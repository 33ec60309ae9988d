// PNG files through the Windows Imaging Component, apart from the GDI+
// codec the program writes with.
#include <windows.h>
#include <wincodec.h>

#include "tests/platform/png_reader.h"

namespace plumet::test {
namespace {

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

IWICImagingFactory* Factory() {
  static IWICImagingFactory* factory = [] {
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* made = nullptr;
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made));
    return made;
  }();
  return factory;
}

std::wstring Wide(const std::string& utf8) {
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

}  // namespace

// Straight BGRA bytes are 0xAARRGGBB words on little-endian Windows.
PngPixels ReadPng(const std::string& path) {
  PngPixels picture;
  IWICImagingFactory* factory = Factory();
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICBitmapSource> converted;
  GUID container{};
  UINT width = 0;
  UINT height = 0;
  if (!factory ||
      FAILED(factory->CreateDecoderFromFilename(Wide(path).c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatPng ||
      FAILED(decoder->GetFrame(0, &frame)) ||
      FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), &converted)) ||
      FAILED(converted->GetSize(&width, &height)))
    return picture;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  if (FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(pixels.data()))))
    return picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.argb = std::move(pixels);
  return picture;
}

bool WritePng(const std::string& path, const PngPixels& picture) {
  IWICImagingFactory* factory = Factory();
  Com<IWICStream> stream;
  Com<IWICBitmapEncoder> encoder;
  Com<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  const UINT width = static_cast<UINT>(picture.width);
  const UINT height = static_cast<UINT>(picture.height);
  return factory && SUCCEEDED(factory->CreateStream(&stream)) &&
         SUCCEEDED(stream->InitializeFromFilename(Wide(path).c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
         format == GUID_WICPixelFormat32bppBGRA &&
         SUCCEEDED(frame->WritePixels(height, width * 4, width * height * 4,
                                      reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(picture.argb.data())))) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace plumet::test
