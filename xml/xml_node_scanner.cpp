// ScanNode: one node of document text per call, with the parser's messages.
#include <string>

#include "xml/xml_decimal.h"
#include "xml/xml_document.h"

namespace {

using Text = std::u16string_view;
constexpr std::int32_t kNotFound = -1;

bool StartsTagName(char16_t c) {
  return (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' || c >= u'a';
}

bool EndsName(char16_t c) { return IsXmlSpace(c) || c == u'/' || c == u'>'; }

std::int32_t Length(Text text) { return static_cast<std::int32_t>(text.size()); }

std::int32_t NameEnd(Text text, std::int32_t i) {
  const std::int32_t n = Length(text);
  while (i < n && !EndsName(text[i])) ++i;
  return i;
}

std::u16string IncorrectMessage(const char16_t* what, std::int32_t offset) {
  return u"Incorrect " + std::u16string(what) + u" at offset " + Decimal(offset);
}

std::u16string UnterminatedMessage(const char16_t* kindWord, std::int32_t offset) {
  return std::u16string(kindWord) + u" at offset " + Decimal(offset) + u" unterminated";
}

// The '>' that ends a start tag or an error node from i, with attribute
// quoting: after '=' (not directly after another '='), a quote opens a
// value closed only by the same quote. Error nodes also end before '<'.
std::int32_t TagEnd(Text text, std::int32_t i, bool stopBeforeMarkup, bool* stoppedAtMarkup) {
  const std::int32_t n = Length(text);
  bool awaitingValue = false;
  for (; i < n; ++i) {
    char16_t c = text[i];
    if (c == u'>') return i;
    if (c == u'<' && stopBeforeMarkup) {
      *stoppedAtMarkup = true;
      return i;
    }
    if (awaitingValue) {
      if (IsXmlSpace(c)) continue;
      awaitingValue = false;
      if (c == u'"' || c == u'\'') {
        std::size_t close = text.find(c, static_cast<std::size_t>(i) + 1);
        if (stopBeforeMarkup) {
          std::size_t markup = text.find(u'<', static_cast<std::size_t>(i) + 1);
          if (markup < close) close = markup - 1;
        }
        if (close == Text::npos) return kNotFound;
        i = static_cast<std::int32_t>(close);
      }
    } else if (c == u'=' && text[i - 1] != u'=') {
      awaitingValue = true;
    }
  }
  return kNotFound;
}

// The '>' ending a markup declaration: quotes open stretches without the
// '=' rule.
std::int32_t DeclarationEnd(Text text, std::int32_t i) {
  const std::int32_t n = Length(text);
  for (; i < n; ++i) {
    char16_t c = text[i];
    if (c == u'>') return i;
    if (c == u'"' || c == u'\'') {
      std::size_t close = text.find(c, static_cast<std::size_t>(i) + 1);
      if (close == Text::npos) return kNotFound;
      i = static_cast<std::int32_t>(close);
    }
  }
  return kNotFound;
}

// The '>' of a delimiter such as "?>" or "-->" whose characters all lie at
// or after contentStart.
std::int32_t DelimiterEnd(Text text, std::int32_t contentStart, std::u16string_view delimiter) {
  const std::size_t lead = delimiter.size() - 1;
  std::size_t found = text.find(delimiter, static_cast<std::size_t>(contentStart));
  return found == Text::npos ? kNotFound : static_cast<std::int32_t>(found + lead);
}

class NodeScanner {
 public:
  NodeScanner(ScanPosition& position, XmlNode& node)
      : position_(position), node_(node), text_(position.text), start_(position.next) {}

  std::int32_t Scan() {
    node_.start = start_;
    node_.flags = 0;
    const std::int32_t n = Length(text_);
    if (start_ >= n) return Finish(XNK_ENDOFTEXT, start_);
    if (text_[start_] != u'<') return ScanText();
    if (start_ + 1 >= n) return Unterminated(u"tag");
    char16_t c = text_[start_ + 1];
    if (c == u'/') return ScanEndTag();
    if (c == u'?') return ScanProcessingInstruction();
    if (c == u'!') return ScanBang();
    if (StartsTagName(c)) return ScanStartTag();
    return Error(IncorrectMessage(u"tag name character", start_), start_ + 1);
  }

 private:
  std::int32_t Finish(std::int32_t kind, std::int32_t end) {
    node_.kind = kind;
    node_.length = end - start_;
    position_.next = end;
    return kind;
  }

  std::int32_t ScanText() {
    const std::int32_t n = Length(text_);
    std::int32_t i = start_;
    while (i < n && IsXmlSpace(text_[i])) ++i;
    if (i >= n || text_[i] == u'<') return Finish(XNK_WHITESPACE, i);
    std::size_t markup = text_.find(u'<', static_cast<std::size_t>(i));
    return Finish(XNK_TEXT, markup == Text::npos ? n : static_cast<std::int32_t>(markup));
  }

  std::int32_t ScanStartTag() {
    std::int32_t nameEnd = NameEnd(text_, start_ + 1);
    node_.name.assign(text_.substr(static_cast<std::size_t>(start_ + 1), static_cast<std::size_t>(nameEnd - start_ - 1)));
    bool stoppedAtMarkup = false;
    std::int32_t close = TagEnd(text_, nameEnd, false, &stoppedAtMarkup);
    if (close == kNotFound) return Unterminated(u"Element tag");
    if (text_[close - 1] == u'/') {
      char16_t before = text_[close - 2];
      if (close - 1 == nameEnd || IsXmlSpace(before) || before == u'"' || before == u'\'')
        node_.flags |= XNF_SELFCLOSED;
    }
    return Finish(XNK_STARTTAG, close + 1);
  }

  std::int32_t ScanEndTag() {
    std::int32_t nameEnd = NameEnd(text_, start_ + 2);
    position_.tokenStart = start_ + 2;
    position_.tokenEnd = nameEnd - 1;
    std::size_t close = text_.find(u'>', static_cast<std::size_t>(nameEnd));
    if (close == Text::npos) return Unterminated(u"Element end tag");
    return Finish(XNK_ENDTAG, static_cast<std::int32_t>(close) + 1);
  }

  std::int32_t ScanProcessingInstruction() {
    std::int32_t nameEnd = NameEnd(text_, start_ + 2);
    node_.name.assign(text_.substr(static_cast<std::size_t>(start_ + 2), static_cast<std::size_t>(nameEnd - start_ - 2)));
    std::int32_t close = DelimiterEnd(text_, start_ + 2, u"?>");
    if (close == kNotFound) return Unterminated(u"Processing instruction");
    return Finish(XNK_PROCESSING, close + 1);
  }

  std::int32_t ScanBang() {
    const std::int32_t n = Length(text_);
    std::int32_t i = start_ + 2;
    if (i >= n) return Unterminated(u"tag");
    switch (text_[i]) {
      case u'-':
        if (i + 1 >= n) return Unterminated(u"tag");
        if (text_[i + 1] != u'-') return Error(IncorrectMessage(u"comment tag", start_), i + 1);
        return Delimited(XNK_COMMENT, i + 2, u"-->", u"Comment");
      case u'[':
        if (i + 1 >= n) return Unterminated(u"tag");
        if (text_[i + 1] != u'C') return Error(IncorrectMessage(u"tag", start_), i + 1);
        return Delimited(XNK_CDATA, i + 2, u"]]>", u"CDATA Section");
      case u'D':
        return ScanDoctype(i + 1);
      case u'E': case u'A': case u'N': {
        std::int32_t close = DeclarationEnd(text_, i + 1);
        if (close == kNotFound) return Unterminated(u"Doctype");
        return Finish(XNK_DOCTYPE, close + 1);
      }
      default:
        return Error(IncorrectMessage(u"! tag", start_), i);
    }
  }

  std::int32_t Delimited(std::int32_t kind, std::int32_t contentStart, std::u16string_view delimiter,
                         const char16_t* kindWord) {
    std::int32_t close = DelimiterEnd(text_, contentStart, delimiter);
    if (close == kNotFound) return Unterminated(kindWord);
    return Finish(kind, close + 1);
  }

  // Nested markup inside a DOCTYPE does not end it; its first '>' at
  // DOCTYPE level does.
  std::int32_t ScanDoctype(std::int32_t i) {
    const std::int32_t n = Length(text_);
    while (i < n) {
      char16_t c = text_[i];
      if (c == u'>') return Finish(XNK_DOCTYPE, i + 1);
      if (c != u'<') {
        ++i;
        continue;
      }
      if (i + 2 >= n) return Unterminated(u"Doctype");
      char16_t kindChar = text_[i + 1];
      std::int32_t close = kNotFound;
      if (kindChar == u'!') {
        char16_t declChar = text_[i + 2];
        if (declChar == u'-') {
          if (i + 3 >= n) return Unterminated(u"Doctype");
          if (text_[i + 3] != u'-') return Error(IncorrectMessage(u"comment tag", start_), i + 3);
          close = DelimiterEnd(text_, i + 4, u"-->");
        } else if (declChar == u'[' || declChar == u'D' || declChar == u'E' || declChar == u'A' || declChar == u'N') {
          close = DeclarationEnd(text_, i + 3);
        } else {
          return Error(IncorrectMessage(u"! tag", start_), i + 2);
        }
      } else if (kindChar == u'?') {
        close = DelimiterEnd(text_, i + 2, u"?>");
      } else if (kindChar == u'/') {
        std::size_t found = text_.find(u'>', static_cast<std::size_t>(i) + 2);
        close = found == Text::npos ? kNotFound : static_cast<std::int32_t>(found);
      } else if (StartsTagName(kindChar)) {
        bool stoppedAtMarkup = false;
        close = TagEnd(text_, NameEnd(text_, i + 1), false, &stoppedAtMarkup);
      } else {
        return Error(IncorrectMessage(u"tag name character", start_), i + 1);
      }
      if (close == kNotFound) return Unterminated(u"Doctype");
      i = close + 1;
    }
    return Unterminated(u"Doctype");
  }

  // An error node runs on from i to the next '>' or up to the next '<'.
  std::int32_t Error(std::u16string message, std::int32_t i) {
    node_.name = std::move(message);
    bool stoppedAtMarkup = false;
    std::int32_t close = TagEnd(text_, i, true, &stoppedAtMarkup);
    if (close == kNotFound) return Unterminated(u"tag");
    return Finish(XNK_ERROR, stoppedAtMarkup ? close : close + 1);
  }

  std::int32_t Unterminated(const char16_t* kindWord) {
    node_.name = UnterminatedMessage(kindWord, start_);
    return Finish(XNK_ERROR, Length(text_));
  }

  ScanPosition& position_;
  XmlNode& node_;
  Text text_;
  std::int32_t start_;
};

}  // namespace

std::int32_t ScanNode(ScanPosition& position, XmlNode& node) { return NodeScanner(position, node).Scan(); }
