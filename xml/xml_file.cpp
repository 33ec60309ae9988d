// The file step of saving: open with byte-order marks, convert, write.
#include "xml/xml_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/text/code_page_converter.h"
#include "platform/text/system_error_text.h"
#include "xml/xml_charset.h"
#include "xml/xml_decimal.h"
#include "xml/xml_document.h"
#include "xml/xml_file_encoding.h"

namespace {

constexpr std::size_t kFirstBytes = 1024;
constexpr std::uint32_t kEncodingFlags = XDF_UTF16LE | XDF_UTF8BOM | XDF_UTF16BE;

bool Fail(CXmlFile& file) {
  file.status = plumet::text::SystemErrorText();
  return false;
}

const ByteOrderMark* MarkForFlags(std::uint32_t flags) {
  for (const ByteOrderMark& mark : kByteOrderMarks)
    if ((flags & mark.flag) != 0) return &mark;
  return nullptr;
}

// Takes the mark at the start of the first bytes, or else the charset the
// text declares.
// Returns the length of the mark, 0 without one.
std::size_t FindReadCharset(CXmlFile& file, const unsigned char* bytes, std::size_t length) {
  file.flags &= ~kEncodingFlags;
  file.unitSize = 1;
  for (const ByteOrderMark& mark : kByteOrderMarks) {
    if (length < mark.length || std::memcmp(bytes, mark.bytes, mark.length) != 0) continue;
    file.flags |= mark.flag;
    file.fileLength -= static_cast<std::int32_t>(mark.length);
    if (mark.length == 2) file.unitSize = 2;
    file.charset = mark.charset;
    return mark.length;
  }
  CharsetConversion conversion{u"UTF-16", u"UTF-8", bytes, static_cast<std::int32_t>(length), 0, 0};
  std::vector<char16_t> text(static_cast<std::size_t>(ConvertCharset(conversion, nullptr)));
  conversion.output = static_cast<std::int32_t>(text.size());
  ConvertCharset(conversion, text.data());
  file.charset = FindDocumentCharset(std::u16string_view(text.data(), text.size()));
  return 0;
}

bool OpenForReading(CXmlFile& file, bool& markRead) {
  bool tooLarge = false;
  if (!file.stream.ReadToEnd(file.content, INT32_MAX, tooLarge)) {
    if (!tooLarge) return Fail(file);
    file.status = u"File too large";
    return false;
  }
  file.fileLength = static_cast<std::int32_t>(file.content.size());
  if (file.content.empty()) return true;
  const std::size_t markLength = FindReadCharset(file, file.content.data(), std::min(file.content.size(), kFirstBytes));
  markRead = markLength != 0;
  if (file.charset.empty() && file.content.front() == '<') file.charset = u"UTF-8";
  file.content.erase(file.content.begin(), file.content.begin() + static_cast<std::ptrdiff_t>(markLength));
  return true;
}

bool OpenForWriting(CXmlFile& file, bool append, bool& markWritten) {
  file.unitSize = 1;
  if (append) {
    const std::int64_t length = file.stream.Length();
    if (length < 0) return Fail(file);
    file.fileLength = static_cast<std::int32_t>(std::min<std::int64_t>(length, INT32_MAX));
  }
  if (file.fileLength != 0) return true;
  const ByteOrderMark* mark = MarkForFlags(file.flags);
  if (mark == nullptr) return true;
  if (!file.stream.Write(mark->bytes, mark->length)) return Fail(file);
  markWritten = true;
  if (mark->length == 2) {
    file.unitSize = 2;
    file.charset = mark->charset;
  }
  return true;
}

}  // namespace

std::uint32_t MarkFlagInForce(std::uint32_t flags) {
  const ByteOrderMark* mark = MarkForFlags(flags);
  return mark != nullptr ? mark->flag : 0;
}

bool IsBigEndianUtf16(const CXmlFile& file) {
  std::uint32_t mark = MarkFlagInForce(file.flags);
  return mark == XDF_UTF16BE || (mark == 0 && CodePageForCharset(file.charset) == plumet::text::CP_UTF16BE);
}

bool OpenDocumentFile(const plumet::text::PathChar* path, CXmlFile& file) {
  file.status.clear();
  const bool append = (file.flags & XDF_APPEND) != 0;
  const bool write = !append && (file.flags & XDF_WRITE) != 0;
  if (!file.stream.Open(path, append ? "ab" : write ? "wb" : "rb")) return Fail(file);
  bool markUsed = false;
  bool opened = append || write ? OpenForWriting(file, append, markUsed) : OpenForReading(file, markUsed);
  if (!opened) return false;
  if (!file.charset.empty()) file.status = file.charset + (markUsed ? u" BOM +" : u"") + u" ";
  return true;
}

bool CloseDocumentFile(CXmlFile& file) {
  file.flags &= ~(XDF_READ | XDF_WRITE | XDF_APPEND);
  return file.stream.Close();
}

bool WriteRawUnits(const void* buffer, CXmlFile& file, const std::u16string* source) {
  const std::size_t bytes = static_cast<std::size_t>(file.count) * static_cast<std::size_t>(file.unitSize);
  const void* data = buffer != nullptr ? buffer : source->data();
  std::vector<char16_t> swapped;
  if (file.unitSize == 2 && IsBigEndianUtf16(file)) {
    // A copy, so that the document text keeps its order.
    swapped.resize(static_cast<std::size_t>(file.count));
    std::memcpy(swapped.data(), data, bytes);
    for (char16_t& unit : swapped) unit = static_cast<char16_t>((unit << 8) | (unit >> 8));
    data = swapped.data();
    file.status += u"endian swap ";
  }
  if (!file.stream.Write(data, bytes)) return Fail(file);
  file.status += u"length " + Decimal(file.count) + u" ";
  return true;
}

bool WriteConvertedText(const std::u16string& text, CXmlFile& file) {
  file.status.clear();
  if (text.empty()) {
    file.status = u"0 length ";
    return true;
  }
  const std::uint32_t mark = MarkFlagInForce(file.flags);
  const std::int32_t codePage = CodePageForCharset(file.charset);
  const bool utf16 = mark == XDF_UTF16LE || mark == XDF_UTF16BE ||
                     (mark == 0 && (codePage == plumet::text::CP_UTF16LE || codePage == plumet::text::CP_UTF16BE));
  if (utf16) {
    file.count = static_cast<std::int32_t>(text.size());
    file.unitSize = 2;
    return WriteRawUnits(nullptr, file, &text);
  }
  // Behind a UTF-8 mark only UTF-8 may follow, whatever the text declares.
  CharsetConversion conversion{mark == XDF_UTF8BOM ? u"UTF-8" : file.charset, u"UTF-16", text.data(),
                               static_cast<std::int32_t>(text.size()), 0, 0};
  file.count = ConvertCharset(conversion, nullptr);
  file.unitSize = CodePageForCharset(conversion.target) == CP_UTF32 ? 4 : 1;
  std::vector<unsigned char> buffer(static_cast<std::size_t>(file.count) * static_cast<std::size_t>(file.unitSize));
  conversion.output = file.count;
  ConvertCharset(conversion, buffer.data());
  std::u16string message = u"from wide length " + Decimal(static_cast<std::int64_t>(text.size())) + u" ";
  if (conversion.lostChars != 0) message += u"(chars lost in conversion!) ";
  if (!WriteRawUnits(buffer.data(), file, nullptr)) return false;
  file.status += message;
  return true;
}
