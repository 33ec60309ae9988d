// Tokens of tag text: ScanToken, name matching and the attribute walk.
#include "xml/xml_document.h"

namespace {

bool IsTokenDelimiter(char16_t c) {
  switch (c) {
    case u' ': case u'\t': case u'\r': case u'\n': case u'<': case u'>': case u'=': case u'\\':
    case u'/': case u'?': case u'!': case u'"': case u'\'': case u';':
      return true;
    default:
      return false;
  }
}

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool EndsAttributeName(char16_t c, bool afterEquals) {
  if (IsXmlSpace(c) || c == u'>') return true;
  return !afterEquals && (c == u'=' || c == u'/' || c == u'?');
}

// One token of the attribute walk; false at the end of the text.
bool ScanAttributeToken(ScanPosition& position, bool afterEquals) {
  const auto n = static_cast<std::int32_t>(position.text.size());
  std::int32_t i = position.next;
  while (i < n && IsXmlSpace(position.text[i])) ++i;
  position.flags &= ~XSP_QUOTED;
  if (i >= n) {
    position.tokenStart = position.next = n;
    position.tokenEnd = n - 1;
    return false;
  }
  char16_t c = position.text[i];
  if (c == u'"' || c == u'\'') {
    std::int32_t j = i + 1;
    while (j < n && position.text[j] != c) ++j;
    position.tokenStart = i + 1;
    position.tokenEnd = j - 1;
    position.next = j < n ? j + 1 : n;
    position.flags |= XSP_QUOTED;
    return true;
  }
  std::int32_t j = i;
  while (j < n && !EndsAttributeName(position.text[j], afterEquals)) ++j;
  if (j == i) j = i + 1;  // a lone delimiter is a token of its own
  position.tokenStart = i;
  position.tokenEnd = j - 1;
  position.next = j;
  return true;
}

bool IsTagEnd(const ScanPosition& position) {
  if ((position.flags & XSP_QUOTED) != 0 || position.tokenEnd != position.tokenStart) return false;
  char16_t c = position.text[position.tokenStart];
  return c == u'/' || c == u'>' || c == u'?';
}

bool IsEqualsToken(const ScanPosition& position) {
  return (position.flags & XSP_QUOTED) == 0 && position.tokenEnd == position.tokenStart &&
         position.text[position.tokenStart] == u'=';
}

void TakeToken(const ScanPosition& position, bool hasValue, AttributeMatch& match) {
  match.found = true;
  match.hasValue = hasValue;
  match.quoted = (position.flags & XSP_QUOTED) != 0;
  match.start = position.tokenStart;
  match.end = position.tokenEnd + 1;
  match.tokenEnd = position.next;
}

}  // namespace

bool ScanToken(ScanPosition& position) {
  const auto n = static_cast<std::int32_t>(position.text.size());
  std::int32_t i = position.next;
  while (i < n && IsXmlSpace(position.text[i])) ++i;
  if (i >= n) {
    position.tokenStart = position.next = n;
    position.tokenEnd = n - 1;
    return false;
  }
  std::int32_t j = i + 1;
  if (!IsTokenDelimiter(position.text[i])) {
    while (j < n && !IsTokenDelimiter(position.text[j])) ++j;
  }
  position.tokenStart = i;
  position.tokenEnd = j - 1;
  position.next = j;
  return true;
}

bool NameMatches(std::u16string_view token, std::u16string_view name, bool ignoreCase) {
  if (token.empty() || token.size() > name.size()) return false;
  for (std::size_t i = 0; i < token.size(); ++i) {
    char16_t a = token[i];
    char16_t b = name[i];
    if (ignoreCase ? FoldAscii(a) != FoldAscii(b) : a != b) return false;
  }
  if (token.size() == name.size()) return true;
  char16_t after = name[token.size()];
  return after == u' ' || after == u'=' || after == u'/' || after == u'[' || after == u']';
}

bool FindAttributeInTag(ScanPosition& position, std::u16string_view name, AttributeMatch& match) {
  match = AttributeMatch{};
  const bool ignoreCase = (position.flags & XDF_NOCASE) != 0;
  bool tagName = true;
  bool afterEquals = false;
  bool nameMatched = false;
  AttributeMatch bareName;
  match.insertAt = position.next;
  while (ScanAttributeToken(position, afterEquals)) {
    if (IsTagEnd(position)) break;
    std::int32_t tokenNext = position.next;
    if (tagName) {
      tagName = false;
    } else if (IsEqualsToken(position)) {
      afterEquals = true;
    } else if (afterEquals) {
      afterEquals = false;
      if (nameMatched) {
        TakeToken(position, true, match);
        return true;
      }
    } else {
      if (nameMatched) break;  // a matching name followed by another name
      if (NameMatches(position.Token(), name, ignoreCase)) {
        nameMatched = true;
        TakeToken(position, false, bareName);
      }
    }
    match.insertAt = tokenNext;
  }
  if (!nameMatched) return false;
  std::int32_t insertAt = match.insertAt;
  match = bareName;
  match.insertAt = insertAt;
  return true;
}
