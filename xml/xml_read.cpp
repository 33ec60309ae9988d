// Reading a whole document file into UTF-16 text.
#include <vector>

#include "platform/text/system_error_text.h"
#include "xml/xml_charset.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace {

std::u16string UnitsOfFile(const std::vector<unsigned char>& bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned first = bytes[2 * i];
    unsigned second = bytes[2 * i + 1];
    text[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return text;
}

std::u16string ConvertedText(const std::vector<unsigned char>& bytes, const std::u16string& charset) {
  CharsetConversion conversion{u"UTF-16", charset, bytes.data(), static_cast<std::int32_t>(bytes.size()), 0, 0};
  std::u16string text(static_cast<std::size_t>(ConvertCharset(conversion, nullptr)), u'\0');
  conversion.output = static_cast<std::int32_t>(text.size());
  ConvertCharset(conversion, text.data());
  return text;
}

}  // namespace

bool ReadDocumentFile(const plumet::text::PathChar* path, std::u16string& textOut, std::u16string* statusOut,
                      std::uint32_t* flagsOut, std::u16string* charsetOut) {
  CXmlFile file;
  file.flags = XDF_READ;
  bool result = OpenDocumentFile(path, file);
  if (result) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(file.fileLength));
    if (file.stream.Read(bytes.data(), bytes.size()) != bytes.size()) {
      file.status = plumet::text::SystemErrorText();
      result = false;
    } else if (file.unitSize == 2) {
      textOut = UnitsOfFile(bytes, (file.flags & XDF_UTF16BE) != 0);
    } else {
      textOut = ConvertedText(bytes, file.charset);
    }
  }
  CloseDocumentFile(file);
  if (statusOut != nullptr) *statusOut = file.status;
  if (flagsOut != nullptr) *flagsOut = file.flags;
  if (charsetOut != nullptr) *charsetOut = file.charset;
  return result;
}
