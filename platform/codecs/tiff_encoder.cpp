#include "platform/codecs/tiff_encoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <vector>

#include "platform/codecs/straight_rgba.h"

namespace plumet::codecs {
namespace {

// Strips of about this many bytes: large enough for LZW to find long runs,
// small enough that a reader need not hold a whole frame.
constexpr int kStripBytes = 256 * 1024;

// The system reports nothing; the result says whether the file is whole.
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

bool WriteFrame(TIFF* tiff, const gfx::Surface& frame, int index, int count) {
  const int width = frame.Width();
  const int rowBytes = width * 4;
  const std::uint16_t extraSamples[] = {EXTRASAMPLE_UNASSALPHA};
  TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
  TIFFSetField(tiff, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(index), static_cast<std::uint16_t>(count));
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(frame.Height()));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extraSamples);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(std::max(1, kStripBytes / std::max(1, rowBytes))));
  // Baseline RGB files carry a resolution; board pixels are screen pixels.
  TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 96.0f);
  TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 96.0f);
  TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);

  std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes));
  for (int y = 0; y < frame.Height(); ++y) {
    ToStraightRgba(frame.Row(y), width, row.data());
    if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0) < 0) return false;
  }
  return TIFFWriteDirectory(tiff) == 1;
}

}  // namespace

bool TiffEncoder::Save(const text::SystemPath& path, std::span<const gfx::Surface* const> frames) const {
  if (frames.empty()) return false;
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return false;
  TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
  TIFF* tiff = TIFFOpenExt(path.c_str(), "w", options);
  TIFFOpenOptionsFree(options);
  if (!tiff) return false;
  const int count = static_cast<int>(frames.size());
  bool written = true;
  for (int i = 0; i < count && written; ++i) written = WriteFrame(tiff, *frames[i], i, count);
  // TIFFClose reports nothing, so anything still pending is flushed first.
  written = written && TIFFFlush(tiff) == 1;
  TIFFClose(tiff);
  return written;
}

}  // namespace plumet::codecs
