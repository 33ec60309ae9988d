// Reading a whole document file into UTF-16 text.
#include <vector>

#include "xml/xml_charset.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace {

// A unit cut off by the end of the file is a character that cannot be read:
// it becomes U+FFFD rather than vanish.
constexpr char16_t kUnreadable = u'\uFFFD';

std::u16string UnitsOfFile(const std::vector<unsigned char>& bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned first = bytes[2 * i];
    unsigned second = bytes[2 * i + 1];
    text[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  if (bytes.size() % 2 != 0) text.push_back(kUnreadable);
  return text;
}

// The conversion counts its input in units of the charset: two bytes for
// "utf-16", four for UTF-32.
std::u16string ConvertedText(const std::vector<unsigned char>& bytes, const std::u16string& charset) {
  const std::size_t unitSize = static_cast<std::size_t>(ConversionUnitSize(charset));
  const auto units = static_cast<std::int32_t>(bytes.size() / unitSize);
  CharsetConversion conversion{u"UTF-16", charset, bytes.data(), units, 0, 0};
  std::u16string text(static_cast<std::size_t>(ConvertCharset(conversion, nullptr)), u'\0');
  conversion.output = static_cast<std::int32_t>(text.size());
  ConvertCharset(conversion, text.data());
  if (bytes.size() % unitSize != 0) text.push_back(kUnreadable);
  return text;
}

}  // namespace

bool ReadDocumentFile(const plumet::text::PathChar* path, std::u16string& textOut, std::u16string* statusOut,
                      std::uint32_t* flagsOut, std::u16string* charsetOut) {
  CXmlFile file;
  file.flags = XDF_READ;
  bool result = OpenDocumentFile(path, file);
  if (result) {
    if (file.unitSize == 2) {
      textOut = UnitsOfFile(file.content, (file.flags & XDF_UTF16BE) != 0);
    } else if (!CanConvertCharset(file.charset)) {
      file.status = NoConverterStatus(file.charset);
      result = false;
    } else {
      textOut = ConvertedText(file.content, file.charset);
    }
  }
  CloseDocumentFile(file);
  if (statusOut != nullptr) *statusOut = file.status;
  if (flagsOut != nullptr) *flagsOut = file.flags;
  if (charsetOut != nullptr) *charsetOut = file.charset;
  return result;
}
