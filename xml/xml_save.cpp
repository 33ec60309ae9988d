// Saving a whole document in the charset it declares.
#include "platform/text/system_error_text.h"
#include "xml/xml_charset.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"
#include "xml/xml_file_encoding.h"

namespace {

// The charset of a text that names none: a mark's own, else the declared
// one, else UTF-8 for markup.
std::u16string CharsetForText(const std::u16string& text, std::uint32_t flags) {
  if (MarkFlagInForce(flags) == XDF_UTF8BOM) return u"UTF-8";
  std::u16string charset = FindDocumentCharset(text);
  if (charset.empty() && text[0] == u'<') charset = u"UTF-8";
  return charset;
}

// Without a mark in the flags, the forced or else the declared charset
// decides the bytes; one that cannot be converted is refused before the
// file is opened, so that an existing file keeps its content.
bool CanWriteCharset(const std::u16string& text, std::uint32_t flags, std::u16string_view forced,
                     std::u16string& charset) {
  if (MarkFlagInForce(flags) != 0 || text.empty()) return true;
  charset = forced.empty() ? CharsetForText(text, flags) : std::u16string(forced);
  return CanConvertCharset(charset);
}

}  // namespace

bool WriteDocumentFile(const plumet::text::PathChar* path, const std::u16string& text, std::u16string* statusOut,
                       std::uint32_t* flagsInOut, const char16_t* forcedCharset) {
  CXmlFile file;
  file.flags = (flagsInOut != nullptr ? *flagsInOut : 0) | XDF_WRITE;
  const std::u16string_view forced = forcedCharset != nullptr ? forcedCharset : u"";
  std::u16string charset;
  if (!CanWriteCharset(text, file.flags, forced, charset)) {
    if (statusOut != nullptr) *statusOut = NoConverterStatus(charset);
    return false;
  }
  const bool opened = OpenDocumentFile(path, file);
  std::u16string status = file.status;
  bool result = false;
  if (opened) {
    if (file.charset.empty() && !text.empty()) {
      file.charset = CharsetForText(text, file.flags);
      if (!file.charset.empty()) status += file.charset + u" ";
    }
    if (!forced.empty() && file.unitSize == 1 && MarkFlagInForce(file.flags) != XDF_UTF8BOM && forced != file.charset) {
      file.charset = forced;
      status += u"forced " + file.charset + u" ";
    }
    result = WriteConvertedText(text, file);
  }
  if (file.stream.IsOpen()) {
    // A failed flush is a failed save: the disk may be full.
    if (!CloseDocumentFile(file) && result) {
      file.status = plumet::text::SystemErrorText();
      result = false;
    }
    if (opened) status += file.status;
    if (flagsInOut != nullptr) *flagsInOut = file.flags;
  }
  if (statusOut != nullptr) *statusOut = status;
  return result;
}

bool CXmlDocument::SaveToFile(const plumet::text::PathChar* path) {
  return WriteDocumentFile(path, text, &statusText, &documentFlags, nullptr);
}
