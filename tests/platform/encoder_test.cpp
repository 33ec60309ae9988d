// The PNG and TIFF encoders: what they store, read back with readers apart
// from them (libpng and libtiff on Linux, WIC on Windows), and how they fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/codecs/image_encoders.h"
#include "platform/text/system_path.h"
#include "tests/export/picture_readers.h"
#include "tests/export/test_files.h"
#include "tests/export/test_surfaces.h"

namespace {

using namespace export_test;
using plumet::codecs::FindEncoder;
using plumet::codecs::ImageEncoder;
using plumet::gfx::Surface;

// TIFF's own values (tags 262 and 338).
constexpr int kPhotometricRgb = 2;
constexpr int kUnassociatedAlpha = 2;

plumet::text::SystemPath File(const TempFolder& folder, const std::string& name) {
  return plumet::text::SystemPathFromUtf8(folder / name);
}

const ImageEncoder& Encoder(const char* mimeType) {
  const ImageEncoder* encoder = nullptr;
  FindEncoder(mimeType, &encoder);
  return *encoder;
}

// Premultiplied pixels and the straight colours the files must hold.
struct PixelCase {
  std::uint32_t premultiplied;
  std::uint32_t straight;
};
const PixelCase kPixelCases[] = {
    {0x00000000, 0x00FFFFFF},  // empty: white with alpha 0
    {0x00123456, 0x00FFFFFF},  // no alpha, whatever colour is left over
    {0xFFFF0000, 0xFFFF0000},  // opaque red as it is
    {0xFF006934, 0xFF006934},  // the green board
    {0x80000080, 0x800000FF},  // half-covered blue, unpremultiplied
    {0x40402000, 0x40FF8000},
};

std::shared_ptr<Surface> CaseSurface() {
  auto surface = Surface::Create(static_cast<int>(std::size(kPixelCases)), 2);
  for (int x = 0; x < surface->Width(); ++x) {
    surface->Row(0)[x] = kPixelCases[x].premultiplied;
    surface->Row(1)[x] = kPixelCases[surface->Width() - 1 - x].premultiplied;
  }
  return surface;
}

void ExpectCasePixels(const Picture& picture) {
  ASSERT_EQ(picture.width, static_cast<int>(std::size(kPixelCases)));
  ASSERT_EQ(picture.height, 2);
  for (int x = 0; x < picture.width; ++x) {
    EXPECT_EQ(picture.At(x, 0), kPixelCases[x].straight) << "x " << x;
    EXPECT_EQ(picture.At(x, 1), kPixelCases[picture.width - 1 - x].straight) << "x " << x;
  }
}

TEST(EncoderRegistry, FindsEncodersByExactMimeType) {
  const ImageEncoder* encoder = nullptr;
  EXPECT_EQ(FindEncoder("image/tiff", &encoder), 0);
  ASSERT_NE(encoder, nullptr);
  EXPECT_EQ(encoder->MimeType(), "image/tiff");
  EXPECT_EQ(FindEncoder("image/png", &encoder), 1);
  EXPECT_EQ(encoder->MimeType(), "image/png");

  const ImageEncoder* untouched = nullptr;
  EXPECT_EQ(FindEncoder("image/PNG", &untouched), -1);
  EXPECT_EQ(FindEncoder("image/tif", &untouched), -1);
  EXPECT_EQ(FindEncoder("image/jpeg", &untouched), -1);
  EXPECT_EQ(FindEncoder("", &untouched), -1);
  EXPECT_EQ(untouched, nullptr);
}

TEST(PngEncoder, StoresStraightRgbaWithTransparentWhite) {
  TempFolder folder;
  const auto surface = CaseSurface();
  const Surface* frames[] = {surface.get()};
  ASSERT_TRUE(Encoder("image/png").Save(File(folder, "cases.png"), frames));
  const std::optional<PngFile> png = ReadPng(folder / "cases.png");
  ASSERT_TRUE(png);
  EXPECT_TRUE(png->hasAlpha);
  ExpectCasePixels(png->picture);
}

TEST(PngEncoder, KeepsAScreenSizedEmptyPictureTransparent) {
  TempFolder folder;
  const auto surface = FilledSurface(1366, 768, 0);
  const Surface* frames[] = {surface.get()};
  ASSERT_TRUE(Encoder("image/png").Save(File(folder, "empty.png"), frames));
  const std::optional<PngFile> png = ReadPng(folder / "empty.png");
  ASSERT_TRUE(png);
  EXPECT_EQ(png->picture.width, 1366);
  EXPECT_EQ(png->picture.height, 768);
  EXPECT_EQ(png->picture.CountOther(0x00FFFFFF), 0);
}

TEST(PngEncoder, TakesExactlyOneFrame) {
  TempFolder folder;
  const auto surface = FilledSurface(4, 4, 0);
  const Surface* two[] = {surface.get(), surface.get()};
  EXPECT_FALSE(Encoder("image/png").Save(File(folder, "two.png"), two));
  EXPECT_FALSE(Encoder("image/png").Save(File(folder, "none.png"), {}));
  EXPECT_FALSE(Exists(folder / "none.png"));
}

TEST(TiffEncoder, StoresEveryFrameInOrderAsRgbaWithUnassociatedAlpha) {
  TempFolder folder;
  const auto first = CaseSurface();
  const auto second = FilledSurface(7, 3, 0xFF0000FF);
  const Surface* frames[] = {first.get(), second.get()};
  ASSERT_TRUE(Encoder("image/tiff").Save(File(folder, "two.tiff"), frames));

  const auto tiff = ReadTiff(folder / "two.tiff");
  ASSERT_TRUE(tiff);
  ASSERT_EQ(tiff->size(), 2u);
  for (const TiffFrame& frame : *tiff) {
    EXPECT_EQ(frame.samplesPerPixel, 4);
    EXPECT_EQ(frame.bitsPerSample, 8);
    EXPECT_EQ(frame.photometric, kPhotometricRgb);
    EXPECT_EQ(frame.extraSamples, std::vector<int>{kUnassociatedAlpha});
  }
  ExpectCasePixels((*tiff)[0].picture);
  EXPECT_EQ((*tiff)[1].picture.width, 7);
  EXPECT_EQ((*tiff)[1].picture.height, 3);
  EXPECT_EQ((*tiff)[1].picture.CountOther(0xFF0000FF), 0);
}

TEST(TiffEncoder, NeedsAFrame) {
  TempFolder folder;
  EXPECT_FALSE(Encoder("image/tiff").Save(File(folder, "none.tiff"), {}));
}

// Failures that both encoders must report.
class EncoderFailure : public testing::TestWithParam<const char*> {
 protected:
  bool SaveNoise(const std::string& path) const {
    const auto noise = NoiseSurface(256, 256, 3);
    const Surface* frames[] = {noise.get()};
    return Encoder(GetParam()).Save(plumet::text::SystemPathFromUtf8(path), frames);
  }
  TempFolder folder_;
};

TEST_P(EncoderFailure, ForAMissingFolderOrAFolderPath) {
  EXPECT_FALSE(SaveNoise(folder_ / "missing/picture"));
  EXPECT_FALSE(SaveNoise(folder_.Path()));
  EXPECT_TRUE(std::filesystem::is_directory(folder_.Path()));
}

INSTANTIATE_TEST_SUITE_P(PngAndTiff, EncoderFailure, testing::Values("image/png", "image/tiff"),
                         [](const testing::TestParamInfo<const char*>& param) {
                           return std::string(param.param).substr(6);
                         });

}  // namespace
