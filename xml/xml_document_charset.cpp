// FindDocumentCharset: the charset an XML declaration or an HTML meta tag
// names.
#include "xml/xml_charset.h"
#include "xml/xml_document.h"

namespace {

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && NameMatches(a, b, true);
}

// The value of attribute name in the tag at tagStart, or nothing.
bool AttributeValue(std::u16string_view text, std::int32_t tagStart, std::int32_t tagLength,
                    std::u16string_view name, std::u16string_view& value) {
  ScanPosition position;
  position.text = text.substr(0, static_cast<std::size_t>(tagStart + tagLength));
  position.next = tagStart + 1;
  position.flags = XDF_NOCASE;
  AttributeMatch match;
  if (!FindAttributeInTag(position, name, match) || !match.hasValue) return false;
  value = text.substr(static_cast<std::size_t>(match.start), static_cast<std::size_t>(match.end - match.start));
  return true;
}

// "text/html; charset=iso-8859-1" gives iso-8859-1.
std::u16string CharsetOfContentType(std::u16string_view content) {
  ScanPosition position;
  position.text = content;
  bool sawCharset = false;
  bool sawEquals = false;
  while (ScanToken(position)) {
    std::u16string_view token = position.Token();
    if (sawEquals) return std::u16string(token);
    if (sawCharset && token == u"=") {
      sawEquals = true;
    } else {
      sawCharset = EqualsIgnoringCase(token, u"charset");
    }
  }
  return {};
}

}  // namespace

std::u16string FindDocumentCharset(std::u16string_view text) {
  ScanPosition position;
  position.text = text;
  position.flags = XDF_NOCASE;
  XmlNode node;
  bool sawMarkup = false;
  bool inHtml = false;
  while (true) {
    const std::int32_t kind = ScanNode(position, node);
    if (kind == XNK_ENDOFTEXT || kind == XNK_ERROR) return {};
    if (kind == XNK_PROCESSING && !sawMarkup) {
      sawMarkup = true;
      ScanPosition target;
      target.text = text.substr(0, static_cast<std::size_t>(node.start + node.length));
      target.next = node.start + 2;
      if (ScanToken(target) && EqualsIgnoringCase(target.Token(), u"xml")) {
        std::u16string_view encoding;
        if (AttributeValue(text, node.start + 1, node.length - 1, u"encoding", encoding)) return std::u16string(encoding);
        return {};
      }
    } else if (kind == XNK_STARTTAG) {
      sawMarkup = true;
      if (!inHtml) {
        if (!EqualsIgnoringCase(node.name, u"html")) return {};
        inHtml = true;
        continue;
      }
      std::u16string_view httpEquiv;
      if (!EqualsIgnoringCase(node.name, u"meta") ||
          !AttributeValue(text, node.start, node.length, u"http-equiv", httpEquiv) ||
          !EqualsIgnoringCase(httpEquiv, u"Content-Type"))
        continue;
      std::u16string_view content;
      if (!AttributeValue(text, node.start, node.length, u"content", content)) return {};
      return CharsetOfContentType(content);
    } else if (kind == XNK_ENDTAG) {
      if (EqualsIgnoringCase(position.Token(), u"head")) return {};
      sawMarkup = true;
    }
  }
}
