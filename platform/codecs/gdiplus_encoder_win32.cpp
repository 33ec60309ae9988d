#include "platform/codecs/gdiplus_encoder_win32.h"

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/surface.h"

namespace plumet::codecs {
namespace {

namespace flat = Gdiplus::DllExports;

// GDI+ started before the first encoder call; surfaces have started it for
// the process already when there are frames to write.
std::optional<CLSID> FindEncoderClsid(std::string_view mimeType) {
  UINT count = 0;
  UINT bytes = 0;
  if (flat::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return std::nullopt;
  std::vector<unsigned char> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (flat::GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return std::nullopt;
  const std::wstring wanted(mimeType.begin(), mimeType.end());  // MIME types are ASCII
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && wanted == codecs[i].MimeType) return codecs[i].Clsid;
  }
  return std::nullopt;
}

// A frame as a GDI+ bitmap with straight alpha, over pixels it owns here.
class StraightFrame {
 public:
  explicit StraightFrame(const gfx::Surface& frame)
      : pixels_(static_cast<std::size_t>(frame.Width()) * frame.Height()) {
    for (int y = 0; y < frame.Height(); ++y) {
      const std::uint32_t* row = frame.Row(y);
      std::uint32_t* out = pixels_.data() + static_cast<std::size_t>(y) * frame.Width();
      // Fully transparent pixels are written as transparent white, as on every system.
      for (int x = 0; x < frame.Width(); ++x) out[x] = (row[x] >> 24) == 0 ? 0x00FFFFFFu : gfx::Unpremultiply(row[x]);
    }
    flat::GdipCreateBitmapFromScan0(frame.Width(), frame.Height(), frame.Width() * 4, PixelFormat32bppARGB,
                                    reinterpret_cast<BYTE*>(pixels_.data()), &bitmap_);
  }
  ~StraightFrame() {
    if (bitmap_) flat::GdipDisposeImage(bitmap_);
  }
  StraightFrame(const StraightFrame&) = delete;
  StraightFrame& operator=(const StraightFrame&) = delete;
  Gdiplus::GpBitmap* Bitmap() const { return bitmap_; }

 private:
  std::vector<std::uint32_t> pixels_;
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

// One encoder parameter of type long.
struct LongParameters {
  Gdiplus::EncoderParameters list{};
  ULONG value = 0;
  LongParameters(const GUID& guid, ULONG v) : value(v) {
    list.Count = 1;
    list.Parameter[0].Guid = guid;
    list.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    list.Parameter[0].NumberOfValues = 1;
    list.Parameter[0].Value = &value;
  }
  LongParameters(const LongParameters&) = delete;
  LongParameters& operator=(const LongParameters&) = delete;
};

// The frames as pages of one TIFF file, LZW-compressed.
bool SaveTiffPages(const std::wstring& path, const CLSID& clsid, std::span<const gfx::Surface* const> frames) {
  std::vector<std::unique_ptr<StraightFrame>> pages;
  for (const gfx::Surface* frame : frames) {
    pages.push_back(std::make_unique<StraightFrame>(*frame));
    if (!pages.back()->Bitmap()) return false;
  }
  struct {
    Gdiplus::EncoderParameters list;
    Gdiplus::EncoderParameter second;
  } firstPage{};
  ULONG multiFrame = Gdiplus::EncoderValueMultiFrame;
  ULONG lzw = Gdiplus::EncoderValueCompressionLZW;
  firstPage.list.Count = 2;
  firstPage.list.Parameter[0] = {Gdiplus::EncoderSaveFlag, 1, Gdiplus::EncoderParameterValueTypeLong, &multiFrame};
  firstPage.second = {Gdiplus::EncoderCompression, 1, Gdiplus::EncoderParameterValueTypeLong, &lzw};
  Gdiplus::GpBitmap* first = pages.front()->Bitmap();
  if (flat::GdipSaveImageToFile(first, path.c_str(), &clsid, &firstPage.list) != Gdiplus::Ok) return false;
  const LongParameters nextPage(Gdiplus::EncoderSaveFlag, Gdiplus::EncoderValueFrameDimensionPage);
  for (std::size_t i = 1; i < pages.size(); ++i) {
    if (flat::GdipSaveAddImage(first, pages[i]->Bitmap(), &nextPage.list) != Gdiplus::Ok) return false;
  }
  const LongParameters flush(Gdiplus::EncoderSaveFlag, Gdiplus::EncoderValueFlush);
  return flat::GdipSaveAdd(first, &flush.list) == Gdiplus::Ok;
}

}  // namespace

bool GdiplusEncoder::Save(const text::SystemPath& path, std::span<const gfx::Surface* const> frames) const {
  const bool pages = mimeType_ == "image/tiff";
  if (frames.empty() || (!pages && frames.size() != 1)) return false;
  const std::optional<CLSID> clsid = FindEncoderClsid(mimeType_);
  if (!clsid) return false;
  if (pages) return SaveTiffPages(path, *clsid, frames);
  const StraightFrame frame(*frames[0]);
  return frame.Bitmap() && flat::GdipSaveImageToFile(frame.Bitmap(), path.c_str(), &*clsid, nullptr) == Gdiplus::Ok;
}

}  // namespace plumet::codecs
