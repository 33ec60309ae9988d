// ParseText and SaveToFile throughput on generated documents, side by side
// with pugixml parsing and saving the same documents. Throughput is counted
// in bytes of the UTF-16 document text for every contender, so the figures
// compare per document.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include <pugixml.hpp>

#include "xml/xml_document.h"

namespace {

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// 20,000 polylines with style and points under one root, CR LF line ends,
// 20 MB of UTF-16 text.
const std::u16string& SvgDocument() {
  static const std::u16string document = [] {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(0.0, 1920.0);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg width=\"1920\" height=\"1080\" "
                       "xmlns=\"http://www.w3.org/2000/svg\">\r\n";
    const char* colours[] = {"#000000", "#ff0000", "#0000ff", "#008000"};
    char number[64];
    for (int i = 0; i < 20000; ++i) {
      std::snprintf(number, sizeof(number), "%d", i % 4 == 3 ? 15 : 3 + i % 3);
      text += "<polyline style=\"fill:none;stroke:";
      text += colours[i % 4];
      text += ";stroke-width:";
      text += number;
      text += ";stroke-linecap:round;stroke-linejoin:round\" points=\"";
      for (int p = 0; p < 18; ++p) {
        std::snprintf(number, sizeof(number), "%f,%f ", coordinate(random), coordinate(random) / 1.8);
        text += number;
      }
      text += "\"/>\r\n";
    }
    text += "</svg>\r\n";
    return Widen(text);
  }();
  return document;
}

// Nested groups, eight deep, every element with ten attributes; ~10 MB.
const std::u16string& AttributeHeavyDocument() {
  static const std::u16string document = [] {
    std::string text = "<?xml version=\"1.0\"?>\r\n<root>\r\n";
    char attributes[512];
    for (int block = 0; block < 6000; ++block) {
      for (int depth = 0; depth < 8; ++depth) {
        std::snprintf(attributes, sizeof(attributes),
                      " id=\"n%d_%d\" class=\"level%d\" x=\"%d\" y=\"%d\" w=\"%d\" h=\"%d\" rx='%d' "
                      "fill=\"#%06x\" opacity=\"0.%d\" transform=\"translate(%d,%d)\"",
                      block, depth, depth, block, depth, block * 3, depth * 7, depth, static_cast<unsigned>(block) * 2654435u & 0xFFFFFFu,
                      depth, block, depth);
        text += "<g";
        text += attributes;
        text += ">\r\n";
      }
      text += "<rect a=\"1\" b=\"2\"/>\r\n";
      for (int depth = 0; depth < 8; ++depth) text += "</g>\r\n";
    }
    text += "</root>\r\n";
    return Widen(text);
  }();
  return document;
}

// The shapes that once made parse time grow with the square of the size,
// filled to megabytes of UTF-16 text: start tags never closed, one end tag
// closing the root over all of them, and end tags that match no open
// element under half a text of open ones.
enum class HostileShape { Unclosed, Mismatched, Stray };

std::u16string HostileDocument(HostileShape shape, std::size_t megabytes) {
  const std::size_t units = megabytes * 1000 * 1000 / sizeof(char16_t);
  std::u16string text;
  text.reserve(units + 8);
  if (shape == HostileShape::Mismatched) text += u"<r>";
  const std::size_t opened = shape == HostileShape::Stray ? units / 2 : units - 4;
  while (text.size() + 3 <= opened) text += u"<a>";
  if (shape == HostileShape::Mismatched) text += u"</r>";
  if (shape == HostileShape::Stray)
    while (text.size() + 4 <= units) text += u"</b>";
  return text;
}

void SetThroughput(benchmark::State& state, const std::u16string& document) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(document.size() * sizeof(char16_t)));
}

void ParseText(benchmark::State& state, const std::u16string& document) {
  CXmlDocument doc;
  for (auto _ : state) {
    bool wellFormed = doc.ParseText(document.c_str());
    benchmark::DoNotOptimize(wellFormed);
    if (!wellFormed) state.SkipWithError("not well-formed");
  }
  state.counters["records"] = doc.recordsUsed;
  SetThroughput(state, document);
}

// Arguments: the shape and the size in MB. Growth that is linear shows as
// the same throughput at every size.
void ParseHostile(benchmark::State& state) {
  const std::u16string document =
      HostileDocument(static_cast<HostileShape>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  // A fresh document each time, as a tool that reads one file has: reusing
  // the records would make the first of few iterations at 100 MB pay for
  // what later ones do not, and sizes run different numbers of iterations.
  std::int32_t records = 0;
  for (auto _ : state) {
    CXmlDocument doc;
    bool wellFormed = doc.ParseText(document);
    benchmark::DoNotOptimize(wellFormed);
    records = doc.recordsUsed;
  }
  state.counters["records"] = records;
  SetThroughput(state, document);
}

// pugixml from the same UTF-16 bytes: its own conversion to UTF-8 included.
void PugixmlFromUtf16(benchmark::State& state, const std::u16string& document) {
  for (auto _ : state) {
    pugi::xml_document doc;
    pugi::xml_parse_result result =
        doc.load_buffer(document.data(), document.size() * sizeof(char16_t), pugi::parse_default, pugi::encoding_utf16_le);
    if (!result) state.SkipWithError(result.description());
    benchmark::DoNotOptimize(doc);
  }
  SetThroughput(state, document);
}

// pugixml from the document's UTF-8 bytes, its native form.
void PugixmlFromUtf8(benchmark::State& state, const std::u16string& document) {
  const std::string utf8(document.begin(), document.end());  // the documents are ASCII
  for (auto _ : state) {
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) state.SkipWithError(result.description());
    benchmark::DoNotOptimize(doc);
  }
  SetThroughput(state, document);
}

std::string TempPath(const char* name) { return "/tmp/plumet-xml-bench-" + std::to_string(getpid()) + "-" + name; }

void SaveToFile(benchmark::State& state) {
  CXmlDocument doc;
  doc.ParseText(SvgDocument().c_str());
  const std::string path = TempPath("save.svg");
  for (auto _ : state) {
    if (!doc.SaveToFile(path.c_str())) state.SkipWithError("save failed");
  }
  std::remove(path.c_str());
  SetThroughput(state, SvgDocument());
}

void PugixmlSaveFile(benchmark::State& state) {
  pugi::xml_document doc;
  doc.load_buffer(SvgDocument().data(), SvgDocument().size() * sizeof(char16_t), pugi::parse_default,
                  pugi::encoding_utf16_le);
  const std::string path = TempPath("pugi.svg");
  for (auto _ : state) {
    if (!doc.save_file(path.c_str(), "", pugi::format_raw, pugi::encoding_utf8)) state.SkipWithError("save failed");
  }
  std::remove(path.c_str());
  SetThroughput(state, SvgDocument());
}

BENCHMARK_CAPTURE(ParseText, svg, SvgDocument())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PugixmlFromUtf16, svg, SvgDocument())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PugixmlFromUtf8, svg, SvgDocument())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseText, attributes, AttributeHeavyDocument())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PugixmlFromUtf16, attributes, AttributeHeavyDocument())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PugixmlFromUtf8, attributes, AttributeHeavyDocument())->Unit(benchmark::kMillisecond);
BENCHMARK(ParseHostile)
    ->ArgNames({"shape", "MB"})
    ->ArgsProduct({{static_cast<std::int64_t>(HostileShape::Unclosed), static_cast<std::int64_t>(HostileShape::Mismatched),
                    static_cast<std::int64_t>(HostileShape::Stray)},
                   {1, 10, 100}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(PugixmlSaveFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
