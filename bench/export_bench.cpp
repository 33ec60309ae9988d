// PNG and two-frame TIFF export of a page with about 5 % ink, at 1920 x 1080
// and 3840 x 2160. The anchor is libpng with its default settings writing
// the same straight RGBA rows in the same run.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/export_page.h"
#include "export/raster_export.h"
#include "platform/codecs/image_encoders.h"
#include "platform/codecs/straight_rgba.h"

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/plumet-export-bench-XXXXXX";
    return std::string(::mkdtemp(name));
  }();
  return folder;
}

long FileBytes(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return -1;
  std::fseek(file, 0, SEEK_END);
  const long bytes = std::ftell(file);
  std::fclose(file);
  return bytes;
}

ExportBoard& Board(const benchmark::State& state) {
  return BoardOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

// libpng as it comes: adaptive filters, zlib level 6.
void WriteDefaultPng(const plumet::gfx::Surface& surface, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()), static_cast<png_uint_32>(surface.Height()), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(surface.Width()) * 4);
  for (int y = 0; y < surface.Height(); ++y) {
    plumet::codecs::ToStraightRgba(surface.Row(y), surface.Width(), row.data());
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

void ReportSize(benchmark::State& state, const std::string& path) {
  state.counters["bytes"] = static_cast<double>(FileBytes(path));
  state.counters["ink%"] = Board(state).inkShare * 100;
}

const plumet::codecs::ImageEncoder& Encoder(const char* mimeType) {
  const plumet::codecs::ImageEncoder* encoder = nullptr;
  plumet::codecs::FindEncoder(mimeType, &encoder);
  return *encoder;
}

void LibpngDefault(benchmark::State& state) {
  const std::string path = Folder() + "/anchor.png";
  for (auto _ : state) WriteDefaultPng(*Board(state).rendered[0]->GetSurface(), path);
  ReportSize(state, path);
}

void PngEncoder(benchmark::State& state) {
  const plumet::gfx::Surface* frames[] = {Board(state).rendered[0]->GetSurface()};
  const std::string path = Folder() + "/encoder.png";
  for (auto _ : state) {
    if (!Encoder("image/png").Save(path, frames)) state.SkipWithError("PNG not written");
  }
  ReportSize(state, path);
  const std::string anchor = Folder() + "/anchor-size.png";
  WriteDefaultPng(*frames[0], anchor);
  state.counters["x default"] = static_cast<double>(FileBytes(path)) / static_cast<double>(FileBytes(anchor));
}

void TiffEncoder(benchmark::State& state) {
  const ExportBoard& board = Board(state);
  const plumet::gfx::Surface* frames[] = {board.rendered[0]->GetSurface(), board.rendered[1]->GetSurface()};
  const std::string path = Folder() + "/encoder.tiff";
  for (auto _ : state) {
    if (!Encoder("image/tiff").Save(path, frames)) state.SkipWithError("TIFF not written");
  }
  ReportSize(state, path);
}

// The whole save as the command runs it: render, encode, flush to disk and
// rename over the file of the previous iteration.
void PngExport(benchmark::State& state) {
  const std::string path = Folder() + "/export.png";
  for (auto _ : state) {
    if (!SavePng(Board(state).picture, path)) state.SkipWithError("PNG not saved");
  }
  ReportSize(state, path);
}

void TiffExport(benchmark::State& state) {
  const std::string path = Folder() + "/export.tiff";
  for (auto _ : state) {
    if (!SaveTiff(Board(state).picture, path)) state.SkipWithError("TIFF not saved");
  }
  ReportSize(state, path);
}

void Sizes(benchmark::internal::Benchmark* bench) {
  bench->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(LibpngDefault)->Apply(Sizes);
BENCHMARK(PngEncoder)->Apply(Sizes);
BENCHMARK(PngExport)->Apply(Sizes);
BENCHMARK(TiffEncoder)->Apply(Sizes);
BENCHMARK(TiffExport)->Apply(Sizes);
