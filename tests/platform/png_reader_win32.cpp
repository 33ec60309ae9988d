// PNG files through the Windows Imaging Component, apart from the GDI+
// codec the program writes with.
#include "tests/platform/png_reader.h"

#include "tests/platform/wic.h"

namespace plumet::test {

// Straight BGRA bytes are 0xAARRGGBB words on little-endian Windows.
PngPixels ReadPng(const std::string& path) {
  PngPixels picture;
  IWICImagingFactory* factory = wic::Factory();
  wic::Com<IWICBitmapDecoder> decoder;
  wic::Com<IWICBitmapFrameDecode> frame;
  wic::Com<IWICBitmapSource> converted;
  GUID container{};
  UINT width = 0;
  UINT height = 0;
  if (!factory ||
      FAILED(factory->CreateDecoderFromFilename(wic::Wide(path).c_str(), nullptr, GENERIC_READ,
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
  IWICImagingFactory* factory = wic::Factory();
  wic::Com<IWICStream> stream;
  wic::Com<IWICBitmapEncoder> encoder;
  wic::Com<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  const UINT width = static_cast<UINT>(picture.width);
  const UINT height = static_cast<UINT>(picture.height);
  return factory && SUCCEEDED(factory->CreateStream(&stream)) &&
         SUCCEEDED(stream->InitializeFromFilename(wic::Wide(path).c_str(), GENERIC_WRITE)) &&
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
