// Escaping of content and attribute values, and CDATA sections.
#include "xml/xml_document.h"

namespace {

bool StartsEntityName(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'#' || c == u'_' || c == u':' || c >= 128;
}

bool ContinuesEntityName(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
         c == u':' || c == u'-' || c == u'.' || c >= 128;
}

// Length of the entity reference "&name;" at input[at], or 0 when none.
std::size_t EntityReferenceLength(std::u16string_view input, std::size_t at) {
  std::size_t i = at + 1;
  if (i >= input.size() || !StartsEntityName(input[i])) return 0;
  for (++i; i < input.size() && ContinuesEntityName(input[i]); ++i) {
  }
  return i < input.size() && input[i] == u';' ? i + 1 - at : 0;
}

}  // namespace

std::u16string CXmlDocument::EscapeMarkup(std::u16string_view input, std::uint32_t options) {
  const bool quotes = (options & XIO_ESCAPEQUOTES) != 0;
  const bool keepEntities = (options & XIO_KEEPENTITIES) != 0;
  std::u16string output;
  output.reserve(input.size() + input.size() / 10 + 7);
  for (std::size_t i = 0; i < input.size(); ++i) {
    char16_t c = input[i];
    switch (c) {
      case u'<': output += u"&lt;"; break;
      case u'>': output += u"&gt;"; break;
      case u'&': {
        std::size_t reference = keepEntities ? EntityReferenceLength(input, i) : 0;
        if (reference == 0) {
          output += u"&amp;";
        } else {
          output += input.substr(i, reference);
          i += reference - 1;
        }
        break;
      }
      case u'\'':
        if (quotes) output += u"&apos;"; else output += c;
        break;
      case u'"':
        if (quotes) output += u"&quot;"; else output += c;
        break;
      default:
        output += c;
    }
  }
  return output;
}

std::u16string CXmlDocument::WrapCdata(std::u16string_view input) {
  constexpr std::u16string_view kClose = u"]]>";
  std::u16string output = u"<![CDATA[";
  std::size_t from = 0;
  for (std::size_t found = input.find(kClose); found != std::u16string_view::npos; found = input.find(kClose, from)) {
    output += input.substr(from, found - from);
    output += u"]]]]><![CDATA[>";
    from = found + kClose.size();
  }
  output += input.substr(from);
  output += kClose;
  return output;
}
