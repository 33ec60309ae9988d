// Construction, ParseText and its structural checks, IsWellFormed. The walk
// that creates the records is BuildElementTree (xml_element_tree.cpp).
#include "xml/xml_document.h"

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
  parentPos = currentPos = childPos = 0;
  currentKind = XCK_NONE;
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
  parentPos = currentPos = childPos = 0;
  currentKind = XCK_NONE;
  return IsWellFormed();
}
