// Parsing: one walk over the text that creates the element records and
// keeps the first problem as the status text. It never stops at an error.
#include <algorithm>
#include <string>
#include <vector>

#include "xml/xml_document.h"

namespace {

std::u16string Decimal(std::int32_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

struct OpenElement {
  std::int32_t record;
  std::int32_t nameLength;
};

}  // namespace

CXmlDocument::CXmlDocument() {
  ParseText(u"");
  documentFlags = 0;
}

bool CXmlDocument::IsWellFormed() const {
  if (capacity == 0) return false;
  const ElementRecord& document = Record(0);
  if ((document.flags & XRF_NOTWELLFORMED) != 0 || document.firstChild == 0) return false;
  return Record(document.firstChild).next == 0;
}

bool CXmlDocument::ParseText(const char16_t* newText) {
  return ParseText(newText != nullptr ? std::u16string_view(newText) : std::u16string_view());
}

bool CXmlDocument::ParseText(std::u16string_view newText) {
  text = newText;
  statusText.clear();
  parentPos = currentPos = childPos = currentKind = 0;
  ReserveRecords(static_cast<std::int32_t>(text.size() / 64 + 8));
  recordsUsed = 1;
  Record(0) = ElementRecord{};
  if (!text.empty()) {
    ScanPosition position;
    position.text = text;
    position.flags = documentFlags;
    std::int32_t first = BuildElementTree(0, position);
    Record(0).length = static_cast<std::int32_t>(text.size());
    Record(0).firstChild = first;
  }
  const std::int32_t root = Record(0).firstChild;
  if (text.empty()) {
    statusText = u"Empty document";
  } else if (root == 0) {
    statusText = u"No root element";
  } else if (Record(root).next != 0) {
    statusText = u"Root element has sibling";
  }
  parentPos = currentPos = childPos = currentKind = 0;
  return IsWellFormed();
}

std::int32_t CXmlDocument::BuildElementTree(std::int32_t parent, ScanPosition& position) {
  statusText.clear();
  const bool ignoreCase = (position.flags & XDF_NOCASE) != 0;
  const std::u16string_view source = position.text;
  const std::uint32_t startDepth = Depth(Record(parent));
  std::int32_t first = 0;
  std::int32_t current = parent;
  std::vector<OpenElement> open;
  open.reserve(6);
  XmlNode node;

  auto report = [this](std::u16string message) {
    if (statusText.empty()) statusText = std::move(message);
  };
  auto markError = [this, parent, &current] {
    Record(parent).flags |= XRF_NOTWELLFORMED;
    Record(current).flags |= XRF_ERROR;
  };
  // Fields too large for the record are clamped and the record refuses
  // later edits.
  auto markOverflow = [&](std::int32_t index, const char16_t* what) {
    Record(index).flags |= XRF_OVERFLOW | XRF_ERROR;
    Record(parent).flags |= XRF_NOTWELLFORMED;
    report(std::u16string(what) + u" at offset " + Decimal(Record(index).start) + u" too long");
  };
  auto openName = [&](const OpenElement& element) {
    return source.substr(static_cast<std::size_t>(Record(element.record).start) + 1,
                         static_cast<std::size_t>(element.nameLength));
  };
  // An unended element keeps only its start tag; its children follow it
  // as siblings under its parent.
  auto closeUnended = [&] {
    const std::int32_t index = open.back().record;
    open.pop_back();
    ElementRecord& element = Record(index);
    const std::int32_t up = element.parent;
    SetTagLengths(element, StartTagLength(element), 0);
    element.flags |= XRF_OPEN;
    element.length = static_cast<std::int32_t>(StartTagLength(element));
    if (element.firstChild != 0) {
      const std::int32_t firstMoved = element.firstChild;
      const std::int32_t lastMoved = Record(firstMoved).prev;
      for (std::int32_t moved = firstMoved; moved != 0; moved = Record(moved).next) Record(moved).parent = up;
      Record(firstMoved).flags &= ~XRF_FIRST;
      Record(firstMoved).prev = index;
      element.next = firstMoved;
      Record(Record(up).firstChild).prev = lastMoved;
      element.firstChild = 0;
    }
    if ((element.flags & XRF_ERROR) != 0) {
      element.flags &= ~XRF_ERROR;
      Record(up).flags |= XRF_ERROR;
    }
    Record(parent).flags |= XRF_NOTWELLFORMED;
    current = up;
  };
  auto closeMatched = [&](const XmlNode& endTag) {
    const std::int32_t index = open.back().record;
    open.pop_back();
    ElementRecord& element = Record(index);
    element.length = endTag.start - element.start + endTag.length;
    SetTagLengths(element, StartTagLength(element), std::min(static_cast<std::uint32_t>(endTag.length), kMaxEndTagLength));
    current = element.parent;
    if (static_cast<std::uint32_t>(endTag.length) > kMaxEndTagLength) markOverflow(index, u"End tag");
  };

  while (true) {
    const std::int32_t kind = ScanNode(position, node);
    if (kind == XNK_ENDOFTEXT) break;
    switch (kind) {
      case XNK_STARTTAG: {
        const std::int32_t index = NewRecord();
        if (first == 0) first = index;
        ElementRecord& parentRecord = Record(current);
        LinkRecord(current, parentRecord.firstChild != 0 ? Record(parentRecord.firstChild).prev : 0, index);
        ElementRecord& record = Record(index);
        const std::uint64_t depth = startDepth + open.size();
        SetDepth(record, static_cast<std::uint32_t>(depth > kMaxDepth ? kMaxDepth : depth));
        record.start = node.start;
        record.length = node.length;
        SetTagLengths(record, std::min(static_cast<std::uint32_t>(node.length), kMaxStartTagLength), 0);
        if (static_cast<std::uint32_t>(node.length) > kMaxStartTagLength) markOverflow(index, u"Start tag");
        if (depth > kMaxDepth) {
          Record(index).flags |= XRF_OVERFLOW | XRF_ERROR;
          Record(parent).flags |= XRF_NOTWELLFORMED;
          report(u"Element at offset " + Decimal(node.start) + u" too deep");
        }
        if ((node.flags & XNF_SELFCLOSED) == 0) {
          open.push_back({index, static_cast<std::int32_t>(node.name.size())});
          current = index;
        }
        break;
      }
      case XNK_ENDTAG: {
        const std::u16string_view name = position.Token();
        std::size_t match = open.size();
        while (match > 0 && !NameMatches(name, openName(open[match - 1]), ignoreCase)) --match;
        if (match == 0) {
          markError();
          report(u"No start tag for end tag '" + std::u16string(name) + u"' at offset " + Decimal(node.start));
          break;
        }
        if (match < open.size()) {
          const OpenElement& innermost = open.back();
          report(u"End tag '" + std::u16string(name) + u"' at offset " + Decimal(node.start + 1) +
                 u" does not match start tag '" + std::u16string(openName(innermost)) + u"' at offset " +
                 Decimal(Record(innermost.record).start));
          while (open.size() > match) closeUnended();
        }
        closeMatched(node);
        break;
      }
      case XNK_ERROR:
        markError();
        report(node.name);
        break;
      default:
        break;
    }
  }
  while (!open.empty()) {
    const OpenElement& innermost = open.back();
    report(u"Element '" + std::u16string(openName(innermost)) + u"' at offset " +
           Decimal(Record(innermost.record).start) + u" not ended");
    closeUnended();
  }
  return first;
}
