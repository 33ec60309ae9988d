// Byte-order marks and which encoding a file's flags put in force.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xml/xml_document.h"

struct CXmlFile;

struct ByteOrderMark {
  unsigned char bytes[3];
  std::size_t length;
  const char16_t* charset;
  std::uint32_t flag;
};

// Searched in this order.
inline constexpr ByteOrderMark kByteOrderMarks[] = {
    {{0xEF, 0xBB, 0xBF}, 3, u"UTF-8", XDF_UTF8BOM},
    {{0xFF, 0xFE, 0x00}, 2, u"UTF-16LE", XDF_UTF16LE},
    {{0xFE, 0xFF, 0x00}, 2, u"UTF-16BE", XDF_UTF16BE},
};

// The flag of the mark a write puts first (the first row whose flag is
// set), 0 for none: the text is written in that encoding.
std::uint32_t MarkFlagInForce(std::uint32_t flags);

// Whether UTF-16 units go high byte first: a FE FF mark, or without a mark
// the charset "unicodefffe".
bool IsBigEndianUtf16(const CXmlFile& file);
