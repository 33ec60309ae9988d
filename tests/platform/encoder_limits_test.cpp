// The PNG and TIFF encoders where the disk or the process's file size
// limit stops them: Linux only (a tmpfs mount, RLIMIT_FSIZE).
#include <gtest/gtest.h>

#include <string>

#include "platform/codecs/image_encoders.h"
#include "tests/export/test_files_posix.h"
#include "tests/export/test_surfaces.h"

namespace {

using namespace export_test;
using plumet::codecs::FindEncoder;
using plumet::codecs::ImageEncoder;
using plumet::gfx::Surface;

const ImageEncoder& Encoder(const char* mimeType) {
  const ImageEncoder* encoder = nullptr;
  FindEncoder(mimeType, &encoder);
  return *encoder;
}

TEST(TiffEncoder, ASecondFrameThatCannotBeWrittenFailsTheSave) {
  TempFolder folder;
  const auto first = NoiseSurface(64, 64, 1);
  const auto second = NoiseSurface(128, 128, 2);
  const Surface* one[] = {first.get()};
  ASSERT_TRUE(Encoder("image/tiff").Save(folder / "one.tiff", one));
  const auto oneFrameBytes = static_cast<rlim_t>(ReadBytes(folder / "one.tiff").size());

  const Surface* both[] = {first.get(), second.get()};
  bool saved = true;
  {
    const FileSizeLimit limit(oneFrameBytes + 1024);
    saved = Encoder("image/tiff").Save(folder / "two.tiff", both);
  }
  EXPECT_FALSE(saved);
  // The first frame did reach the file: the failure was the second's.
  EXPECT_GT(ReadBytes(folder / "two.tiff").size(), oneFrameBytes / 2);
}

// Failures at the limits of the disk that both encoders must report.
class EncoderLimit : public testing::TestWithParam<const char*> {
 protected:
  bool SaveNoise(const std::string& path) const {
    const auto noise = NoiseSurface(256, 256, 3);
    const Surface* frames[] = {noise.get()};
    return Encoder(GetParam()).Save(path, frames);
  }
  TempFolder folder_;
};

TEST_P(EncoderLimit, AtAFullDisk) {
  const SmallDisk disk(folder_.Path(), 64);
  if (!disk.Mounted()) GTEST_SKIP() << "this machine cannot mount a tmpfs";
  EXPECT_FALSE(SaveNoise(folder_ / "full"));
}

TEST_P(EncoderLimit, AtTheFileSizeLimit) {
  const FileSizeLimit limit(16 * 1024);
  EXPECT_FALSE(SaveNoise(folder_ / "limited"));
}

INSTANTIATE_TEST_SUITE_P(PngAndTiff, EncoderLimit, testing::Values("image/png", "image/tiff"),
                         [](const testing::TestParamInfo<const char*>& param) {
                           return std::string(param.param).substr(6);
                         });

}  // namespace
