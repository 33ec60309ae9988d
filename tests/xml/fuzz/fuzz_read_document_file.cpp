// Fuzzes ReadDocumentFile, the read step of plumet-xml, on arbitrary
// bytes under every declared charset: one name for each code page of the
// table, the UTF-32 names, an unknown name and none. The text that comes
// out is parsed; its records must stay inside it.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace {

const char16_t* const kCharsets[] = {
    u"ebcdic-cp-us", u"x-ebcdic-arabic", u"437", u"asmo-708", u"dos-720", u"ibm737", u"cp500", u"ibm850",
    u"cp852", u"ibm857", u"ibm861", u"dos-862", u"cp866", u"ibm869", u"cp870", u"dos-874",
    u"x-ebcdic-greekmodern", u"csshiftjis", u"chinese", u"csksc56011987", u"big5", u"cp1026",
    u"x-ebcdic-cp-us-euro", u"x-ebcdic-denmarknorway-euro", u"x-ebcdic-finlandsweden-euro",
    u"x-ebcdic-italy-euro", u"x-ebcdic-spain-euro", u"x-ebcdic-uk-euro", u"x-ebcdic-france-euro",
    u"x-ebcdic-international-euro", u"x-ebcdic-icelandic-euro", u"unicode", u"unicodefffe", u"windows-1250",
    u"windows-1251", u"iso-ir-6", u"windows-1253", u"windows-1254", u"iso_8859-8-i", u"cp1256", u"windows-1257",
    u"windows-1258", u"johab", u"macintosh", u"x-mac-japanese", u"x-mac-chinesetrad", u"x-mac-korean",
    u"x-mac-arabic", u"x-mac-hebrew", u"x-mac-greek", u"x-mac-cyrillic", u"x-mac-chinesesimp", u"x-mac-ce",
    u"x-mac-icelandic", u"x-mac-turkish", u"x-chinese-cns", u"x-chinese-eten", u"x-ia5", u"x-ia5-german",
    u"x-ia5-swedish", u"x-ia5-norwegian", u"ansi_x3.4-1968", u"x-ebcdic-germany", u"x-ebcdic-denmarknorway",
    u"x-ebcdic-finlandsweden", u"x-ebcdic-italy", u"x-ebcdic-spain", u"x-ebcdic-uk",
    u"x-ebcdic-japanesekatakana", u"x-ebcdic-greek", u"x-ebcdic-hebrew", u"x-ebcdic-koreanextended",
    u"x-ebcdic-thai", u"cskoi8r", u"x-ebcdic-icelandic", u"x-ebcdic-cyrillicrussian", u"x-ebcdic-turkish",
    u"x-ebcdic-cyrillicserbianbulgarian", u"koi8-ru", u"cp819", u"csisolatin2", u"csiso", u"csisolatin4",
    u"csisolatin5", u"arabic", u"csisolatingreek", u"csisolatinhebrew", u"iso-8859-9", u"iso-8859-15",
    u"x-europa", u"iso-8859-8-i", u"iso-2022-jp", u"_iso-2022-jp", u"_iso-2022-jp$sio", u"csiso2022kr",
    u"x-ebcdic-japaneseandkana", u"x-ebcdic-japaneseanduscanada", u"x-ebcdic-simplifiedchinese",
    u"x-ebcdic-traditionalchinese", u"x-ebcdic-japaneseandjapaneselatin", u"cseucpkdfmtjapanese", u"euc-cn",
    u"cseuckr", u"hz-gb-2312", u"x-iscii-de", u"x-iscii-be", u"x-iscii-ta", u"x-iscii-te", u"x-iscii-as",
    u"x-iscii-or", u"x-iscii-ka", u"x-iscii-ma", u"x-iscii-gu", u"x-iscii-pa", u"csunicode11utf7",
    u"unicode-1-1-utf-8", u"UTF-32", u"UTF-32BE", u"utf-32", u"no-such", u"",
};
constexpr std::size_t kCount = sizeof(kCharsets) / sizeof(kCharsets[0]);

void Check(bool condition) {
  if (!condition) std::abort();
}

// The file lives in memory; the read step opens it by path like any file.
int MemoryFile() {
  static const int fd = memfd_create("fuzz-read", 0);
  return fd;
}

std::string MemoryFilePath() { return "/proc/self/fd/" + std::to_string(MemoryFile()); }

}  // namespace

// First byte: the charset; second byte: bit 0 writes a declaration of it
// before the rest, bits 1 and 2 pad the declaration with 0 to 3 spaces so
// that the rest starts at every alignment of 2- and 4-byte units.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::u16string charset = kCharsets[data[0] % kCount];
  std::string bytes;
  if ((data[1] & 1) != 0) {
    bytes = "<?xml version=\"1.0\" encoding=\"" + std::string(charset.begin(), charset.end()) + "\"?>";
    bytes.append(static_cast<std::size_t>((data[1] >> 1) & 3), ' ');
  }
  bytes.append(reinterpret_cast<const char*>(data + 2), size - 2);
  const int fd = MemoryFile();
  Check(fd >= 0 && ftruncate(fd, 0) == 0);
  Check(pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));

  std::u16string text;
  std::u16string status;
  std::uint32_t flags = 0;
  if (!ReadDocumentFile(MemoryFilePath().c_str(), text, &status, &flags, nullptr)) return 0;
  CXmlDocument doc;
  doc.documentFlags = flags;
  doc.ParseText(text);
  Check(doc.Record(0).length == static_cast<std::int32_t>(text.size()));
  for (std::int32_t i = 1; i < doc.recordsUsed; ++i) {
    const ElementRecord& record = doc.Record(i);
    Check(record.start >= 0 && record.start + record.length <= static_cast<std::int32_t>(text.size()));
  }
  return 0;
}
