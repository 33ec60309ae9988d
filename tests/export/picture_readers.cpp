#include "tests/export/picture_readers.h"

#include <png.h>
#include <tiffio.h>

#include <algorithm>

namespace export_test {
namespace {

std::uint32_t Argb(const std::uint8_t* rgba) {
  return (std::uint32_t{rgba[3]} << 24) | (std::uint32_t{rgba[0]} << 16) | (std::uint32_t{rgba[1]} << 8) | rgba[2];
}

std::optional<TiffFrame> ReadFrame(TIFF* tiff) {
  TiffFrame frame;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint16_t samples = 0;
  std::uint16_t bits = 0;
  std::uint16_t photometric = 0;
  std::uint16_t extraCount = 0;
  std::uint16_t* extra = nullptr;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra)) frame.extraSamples.assign(extra, extra + extraCount);
  frame.picture.width = static_cast<int>(width);
  frame.picture.height = static_cast<int>(height);
  frame.samplesPerPixel = samples;
  frame.bitsPerSample = bits;
  frame.photometric = photometric;
  if (samples != 4 || bits != 8) return frame;  // the test judges the tags
  std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tiff)));
  for (std::uint32_t y = 0; y < height; ++y) {
    if (TIFFReadScanline(tiff, row.data(), y, 0) < 0) return std::nullopt;
    for (std::uint32_t x = 0; x < width; ++x) frame.picture.pixels.push_back(Argb(&row[x * 4]));
  }
  return frame;
}

}  // namespace

std::optional<PngFile> ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  PngFile file;
  file.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_RGBA;  // straight alpha, 8 bits
  std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return std::nullopt;
  file.picture.width = static_cast<int>(image.width);
  file.picture.height = static_cast<int>(image.height);
  for (std::size_t i = 0; i < bytes.size(); i += 4) file.picture.pixels.push_back(Argb(&bytes[i]));
  return file;
}

std::optional<std::vector<TiffFrame>> ReadTiff(const std::string& path) {
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (!tiff) return std::nullopt;
  std::vector<TiffFrame> frames;
  do {
    std::optional<TiffFrame> frame = ReadFrame(tiff);
    if (!frame) {
      TIFFClose(tiff);
      return std::nullopt;
    }
    frames.push_back(std::move(*frame));
  } while (TIFFReadDirectory(tiff));
  TIFFClose(tiff);
  return frames;
}

}  // namespace export_test
