// Fuzzes ParseText, then edits on what it parsed: the records must stay
// inside the text whatever the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "xml/xml_document.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckRecords(const CXmlDocument& doc) {
  const auto textLength = static_cast<std::int32_t>(doc.text.size());
  Check(doc.Record(0).length == textLength);
  for (std::int32_t i = 1; i < doc.recordsUsed; ++i) {
    const ElementRecord& r = doc.Record(i);
    Check(r.start >= 0 && r.length >= static_cast<std::int32_t>(StartTagLength(r)));
    Check(r.start + r.length <= textLength);
    Check(r.parent >= 0 && r.parent < doc.recordsUsed && r.next >= 0 && r.next < doc.recordsUsed);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // First byte: document flags and edit options; the rest: UTF-16 text.
  const std::uint8_t control = data[0];
  std::u16string text((size - 1) / 2, u'\0');
  std::memcpy(text.data(), data + 1, text.size() * 2);
  CXmlDocument doc;
  doc.documentFlags = control & XDF_NOCASE;
  doc.ParseText(text);  // the whole text, NUL characters included
  CheckRecords(doc);
  if (doc.recordsUsed > 1) {
    const std::uint32_t options = (control & 0x07) | ((control & 0x10) != 0 ? XIO_BEFORE : 0u);
    doc.currentPos = doc.Record(0).firstChild;
    doc.currentKind = XCK_ELEMENT;
    doc.SetAttributeText(doc.currentPos, u"a", u"v<\"&", options);
    CheckRecords(doc);
    if ((control & 0x20) != 0) doc.EnterElement();
    doc.InsertElement(u"n", (control & 0x40) != 0 ? u"c]]>" : nullptr, options);
    CheckRecords(doc);
    doc.InsertElement(u"m", nullptr, options | XIO_CHILD);
    CheckRecords(doc);
  }
  return 0;
}
