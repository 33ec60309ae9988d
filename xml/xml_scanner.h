// Scanning of document text: tokens, start-tag attributes and nodes. Shared
// by the builder, the parser and the charset detection.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Position flag: the last token was a quoted string.
constexpr std::uint32_t XSP_QUOTED = 0x8000;
// Node flag: a start tag closed by "/>".
constexpr std::uint32_t XNF_SELFCLOSED = 0x10000;

// Node kinds, also returned by ScanNode.
constexpr std::int32_t XNK_ENDOFTEXT = -2;
constexpr std::int32_t XNK_ERROR = -1;
constexpr std::int32_t XNK_ENDTAG = 0;
constexpr std::int32_t XNK_STARTTAG = 1;
constexpr std::int32_t XNK_TEXT = 2;
constexpr std::int32_t XNK_WHITESPACE = 4;
constexpr std::int32_t XNK_CDATA = 8;
constexpr std::int32_t XNK_PROCESSING = 16;
constexpr std::int32_t XNK_COMMENT = 32;
constexpr std::int32_t XNK_DOCTYPE = 64;

struct ScanPosition {
  std::int32_t tokenStart = 0;
  std::int32_t tokenEnd = -1;  // inclusive; -1 when none
  std::int32_t next = 0;
  std::u16string_view text;
  std::uint32_t flags = 0;     // XDF_NOCASE, XSP_QUOTED

  std::u16string_view Token() const {
    return text.substr(static_cast<std::size_t>(tokenStart), static_cast<std::size_t>(tokenEnd + 1 - tokenStart));
  }
};

struct XmlNode {
  std::int32_t kind = XNK_ENDOFTEXT;
  std::int32_t start = 0;
  std::int32_t length = 0;
  std::uint32_t flags = 0;
  // Start-tag name, processing-instruction target or error message.
  std::u16string name;
};

// What FindAttribute found in a start tag.
struct AttributeMatch {
  bool found = false;
  bool hasValue = false;     // false: the attribute is a bare name
  bool quoted = false;
  std::int32_t start = 0;    // the value (or bare name), quotes excluded
  std::int32_t end = 0;      // exclusive
  std::int32_t tokenEnd = 0; // past the closing quote when there is one
  std::int32_t insertAt = 0; // after the last token before the tag's end

  std::int32_t ReplaceStart() const { return quoted ? start - 1 : start; }
};

inline bool IsXmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// The next token from position.next; false at the end of the text.
bool ScanToken(ScanPosition& position);

// Whether a tag or attribute name token matches name: equal to its first
// characters, name ending there or going on with ' ', '=', '/', '[' or ']'.
bool NameMatches(std::u16string_view token, std::u16string_view name, bool ignoreCase);

// Walks the tokens of a start tag from position.next (the first token is
// the tag name) looking for attribute name.
bool FindAttributeInTag(ScanPosition& position, std::u16string_view name, AttributeMatch& match);

// Scans one node from position.next; returns its kind.
std::int32_t ScanNode(ScanPosition& position, XmlNode& node);
