// PNG and TIFF files read back through the Windows Imaging Component, apart
// from the GDI+ encoders under test.
#include <propidl.h>

#include <algorithm>

#include "tests/export/picture_readers.h"
#include "tests/platform/wic.h"

namespace export_test {
namespace {

// Every frame of a file of one container format, decoded; nothing when the
// file is of another format or cannot be read whole.
class Decoded {
 public:
  Decoded(const std::string& path, const GUID& container) {
    IWICImagingFactory* factory = wic::Factory();
    GUID found{};
    ok_ = factory &&
          SUCCEEDED(factory->CreateDecoderFromFilename(wic::Wide(path).c_str(), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnLoad, &decoder_)) &&
          SUCCEEDED(decoder_->GetContainerFormat(&found)) && found == container &&
          SUCCEEDED(decoder_->GetFrameCount(&frames_));
  }
  bool Ok() const { return ok_; }
  UINT Frames() const { return frames_; }
  IWICBitmapDecoder* Decoder() const { return decoder_.get(); }

 private:
  wic::Com<IWICBitmapDecoder> decoder_;
  UINT frames_ = 0;
  bool ok_ = false;
};

// A frame's pixels as straight 0xAARRGGBB words (WIC's BGRA bytes on
// little-endian Windows).
bool ReadPixels(IWICBitmapFrameDecode* frame, Picture& picture) {
  wic::Com<IWICBitmapSource> converted;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted)) ||
      FAILED(converted->GetSize(&width, &height)))
    return false;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  return SUCCEEDED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.pixels.size() * 4),
                                         reinterpret_cast<BYTE*>(picture.pixels.data())));
}

// The values of one TIFF tag of a frame's directory, whatever integer form
// WIC gives them in; empty when the tag is absent.
std::vector<int> TagValues(IWICMetadataQueryReader* reader, int tag) {
  const std::wstring query = L"/ifd/{ushort=" + std::to_wstring(tag) + L"}";
  PROPVARIANT value;
  PropVariantInit(&value);
  std::vector<int> values;
  if (SUCCEEDED(reader->GetMetadataByName(query.c_str(), &value))) {
    switch (value.vt) {
      case VT_UI2:
        values.push_back(value.uiVal);
        break;
      case VT_UI4:
        values.push_back(static_cast<int>(value.ulVal));
        break;
      case VT_VECTOR | VT_UI2:
        values.assign(value.caui.pElems, value.caui.pElems + value.caui.cElems);
        break;
      case VT_VECTOR | VT_UI4:
        values.assign(value.caul.pElems, value.caul.pElems + value.caul.cElems);
        break;
      default:
        break;
    }
  }
  PropVariantClear(&value);
  return values;
}

int FirstOr(const std::vector<int>& values, int absent) { return values.empty() ? absent : values.front(); }

bool HasAlpha(const WICPixelFormatGUID& format) {
  static const GUID withAlpha[] = {GUID_WICPixelFormat32bppBGRA,  GUID_WICPixelFormat32bppRGBA,
                                   GUID_WICPixelFormat32bppPBGRA, GUID_WICPixelFormat64bppRGBA,
                                   GUID_WICPixelFormat64bppBGRA,  GUID_WICPixelFormat64bppPRGBA};
  return std::find(std::begin(withAlpha), std::end(withAlpha), format) != std::end(withAlpha);
}

}  // namespace

std::optional<PngFile> ReadPng(const std::string& path) {
  const Decoded file(path, GUID_ContainerFormatPng);
  wic::Com<IWICBitmapFrameDecode> frame;
  WICPixelFormatGUID format{};
  PngFile png;
  if (!file.Ok() || FAILED(file.Decoder()->GetFrame(0, &frame)) || FAILED(frame->GetPixelFormat(&format)) ||
      !ReadPixels(frame.get(), png.picture))
    return std::nullopt;
  png.hasAlpha = HasAlpha(format);
  return png;
}

std::optional<std::vector<TiffFrame>> ReadTiff(const std::string& path) {
  const Decoded file(path, GUID_ContainerFormatTiff);
  if (!file.Ok()) return std::nullopt;
  std::vector<TiffFrame> frames(file.Frames());
  for (UINT i = 0; i < file.Frames(); ++i) {
    wic::Com<IWICBitmapFrameDecode> frame;
    wic::Com<IWICMetadataQueryReader> tags;
    TiffFrame& read = frames[i];
    if (FAILED(file.Decoder()->GetFrame(i, &frame)) || FAILED(frame->GetMetadataQueryReader(&tags)) ||
        !ReadPixels(frame.get(), read.picture))
      return std::nullopt;
    // Absent tags take TIFF's defaults, as libtiff's TIFFGetFieldDefaulted gives them.
    read.samplesPerPixel = FirstOr(TagValues(tags.get(), 277), 1);
    read.bitsPerSample = FirstOr(TagValues(tags.get(), 258), 1);
    read.photometric = FirstOr(TagValues(tags.get(), 262), -1);
    read.extraSamples = TagValues(tags.get(), 338);
  }
  return frames;
}

}  // namespace export_test
