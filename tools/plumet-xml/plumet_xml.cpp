// plumet-xml: the XML document component from the command line, for
// developers and tests.
//   plumet-xml parse FILE     status, well-formedness, one line per record
//   plumet-xml charset FILE   charset of the read step, charset declared
//   plumet-xml save IN OUT    parse IN, save it to OUT, print the status
// Exit status: 0 when the command ran, 1 when a file cannot be read, 2 on
// usage errors.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/text/code_page_converter.h"
#include "platform/text/system_path.h"
#include "xml/xml_charset.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace {

constexpr int kRan = 0;
constexpr int kUnreadable = 1;
constexpr int kUsage = 2;
constexpr std::uint32_t kEncodingFlags = XDF_UTF16LE | XDF_UTF8BOM | XDF_UTF16BE;

void PrintLine(const std::u16string& text) { std::printf("%s\n", plumet::text::Utf8FromUtf16(text).c_str()); }

struct FileText {
  std::u16string text;
  std::u16string charset;
  std::uint32_t flags = 0;
};

bool ReadFile(const char* path, FileText& file) {
  std::u16string status;
  if (ReadDocumentFile(plumet::text::SystemPathFromUtf8(path).c_str(), file.text, &status, &file.flags, &file.charset)) return true;
  std::fprintf(stderr, "plumet-xml: cannot read %s: %s\n", path, plumet::text::Utf8FromUtf16(status).c_str());
  return false;
}

int Parse(const char* path) {
  FileText file;
  if (!ReadFile(path, file)) return kUnreadable;
  CXmlDocument document;
  document.documentFlags = file.flags & kEncodingFlags;
  bool wellFormed = document.ParseText(file.text);
  PrintLine(document.statusText);
  std::printf("%s\n", wellFormed ? "well-formed" : "not well-formed");
  for (std::int32_t index = 1; index < document.recordsUsed; ++index) {
    const ElementRecord& record = document.Record(index);
    std::printf("%" PRId32 " %" PRId32 " %" PRId32 " %" PRIu32 " %" PRIu32 " %" PRIu32 " 0x%" PRIx32 " %" PRId32
                " %" PRId32 " %" PRId32 " %" PRId32 "\n",
                index, record.start, record.length, StartTagLength(record), EndTagLength(record), Depth(record),
                record.flags, record.parent, record.firstChild, record.next, record.prev);
  }
  return kRan;
}

int Charset(const char* path) {
  FileText file;
  if (!ReadFile(path, file)) return kUnreadable;
  PrintLine(file.charset);
  PrintLine(FindDocumentCharset(file.text));
  return kRan;
}

int Save(const char* in, const char* out) {
  FileText file;
  if (!ReadFile(in, file)) return kUnreadable;
  CXmlDocument document;
  document.documentFlags = file.flags & kEncodingFlags;
  document.ParseText(file.text);
  document.SaveToFile(plumet::text::SystemPathFromUtf8(out).c_str());
  PrintLine(document.statusText);
  return kRan;
}

int Usage() {
  std::fprintf(stderr, "usage: plumet-xml parse FILE\n       plumet-xml charset FILE\n       plumet-xml save IN OUT\n");
  return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "parse") == 0) return Parse(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "charset") == 0) return Charset(argv[2]);
  if (argc == 4 && std::strcmp(argv[1], "save") == 0) return Save(argv[2], argv[3]);
  return Usage();
}
