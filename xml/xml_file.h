// Files of documents: the open step with its byte-order marks, the write
// steps, and whole-document save and read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/binary_file.h"

struct CXmlFile {
  plumet::text::CBinaryFile stream;
  std::uint32_t flags = 0;       // documentFlags bits
  std::int32_t fileLength = 0;   // read: bytes less the mark; append: existing length
  // Read mode: the file's bytes after the mark, all read at open, since
  // only reading tells how long a pipe or a /proc file is.
  std::vector<unsigned char> content;
  std::int32_t unitSize = 1;
  std::int32_t count = 0;        // units handed to the last write
  std::u16string status;
  std::u16string charset;
};

bool OpenDocumentFile(const plumet::text::PathChar* path, CXmlFile& file);
// Closes and clears the read, write and append flags; false when the
// flush or close failed.
bool CloseDocumentFile(CXmlFile& file);
bool WriteConvertedText(const std::u16string& text, CXmlFile& file);
bool WriteRawUnits(const void* buffer, CXmlFile& file, const std::u16string* source);

// statusOut and flagsInOut may be null; forcedCharset may be null or empty.
bool WriteDocumentFile(const plumet::text::PathChar* path, const std::u16string& text, std::u16string* statusOut,
                       std::uint32_t* flagsInOut, const char16_t* forcedCharset);

// Reads a whole document: after a 2-byte mark the file's UTF-16 units,
// otherwise the bytes converted from the charset the open step found.
// flagsOut receives the encoding flags, charsetOut that charset.
bool ReadDocumentFile(const plumet::text::PathChar* path, std::u16string& textOut, std::u16string* statusOut,
                      std::uint32_t* flagsOut, std::u16string* charsetOut);
