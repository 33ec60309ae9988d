// Building: elements and attributes are written into the text in place,
// then the records are corrected.
#include <algorithm>
#include <string>

#include "xml/xml_decimal.h"
#include "xml/xml_document.h"

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

}  // namespace

bool CXmlDocument::RefuseEdit(const char16_t* reason) {
  statusText = reason;
  return false;
}

// Records that overflowed at parse time hold clamped lengths; editing
// around them would write at wrong offsets.
bool CXmlDocument::CanEdit(std::int32_t pos) {
  if (pos < 0 || pos >= recordsUsed) {
    statusText = u"No element at position " + Decimal(pos);
    return false;
  }
  if ((Record(pos).flags & XRF_OVERFLOW) != 0) {
    statusText = u"Element at offset " + Decimal(Record(pos).start) + u" is too large to edit";
    return false;
  }
  return true;
}

void CXmlDocument::SpliceText(std::int32_t offset, std::int32_t count, std::u16string_view input) {
  std::size_t newLength = text.size() - static_cast<std::size_t>(count) + input.size();
  if (newLength > text.capacity()) text.reserve(newLength + newLength / 2 + 128);
  text.replace(static_cast<std::size_t>(offset), static_cast<std::size_t>(count), input);
}

std::u16string CXmlDocument::ElementName(std::int32_t pos) const {
  if (pos <= 0 || pos >= recordsUsed) return {};
  ScanPosition position;
  position.text = text;
  position.next = Record(pos).start + 1;
  if (!ScanToken(position)) return {};
  return std::u16string(position.Token());
}

bool CXmlDocument::FindAttribute(std::int32_t pos, std::u16string_view name, AttributeMatch& match) const {
  const ElementRecord& record = Record(pos);
  ScanPosition position;
  // Only the start tag: a stray quote must not carry the walk past it.
  position.text = std::u16string_view(text).substr(0, static_cast<std::size_t>(record.start) + StartTagLength(record));
  position.next = record.start + 1;
  position.flags = documentFlags;
  return FindAttributeInTag(position, name, match);
}

bool CXmlDocument::InsertElement(const char16_t* name, const char16_t* content, std::uint32_t options) {
  const bool childMode = (options & XIO_CHILD) != 0;
  if (childMode && currentPos == 0) return false;
  const std::int32_t parent = childMode ? currentPos : parentPos;
  const std::int32_t after = childMode ? childPos : currentPos;
  const std::u16string_view contentText = content != nullptr ? content : u"";
  if ((options & XIO_STARTTAGONLY) != 0 && !contentText.empty()) return false;
  if (name == nullptr || *name == 0) return RefuseEdit(u"Element name missing");
  if (!CanEdit(parent) || (after != 0 && !CanEdit(after))) return false;
  if (after != 0 && Record(after).parent != parent) return RefuseEdit(u"Current element is not a child of the parent");

  const std::u16string_view elementName = name;
  const auto nameLength = static_cast<std::uint32_t>(std::min<std::size_t>(elementName.size(), UINT32_MAX - 8));
  std::uint32_t startTag = nameLength + 3;
  std::uint32_t endTag = 0;
  if (!contentText.empty()) {
    startTag = nameLength + 2;
    endTag = nameLength + 3;
  } else if ((options & XIO_STARTTAGONLY) != 0) {
    startTag = nameLength + 2;
  } else if ((options & XIO_SPACEDEMPTY) != 0) {
    startTag = nameLength + 4;
  }
  if (startTag > kMaxStartTagLength) return RefuseEdit(u"Start tag too long");
  if (endTag > kMaxEndTagLength) return RefuseEdit(u"End tag too long");

  const ElementRecord parentRecord = Record(parent);
  const std::uint32_t parentStartTag = StartTagLength(parentRecord);
  const bool parentEmpty = parent != 0 && parentStartTag == static_cast<std::uint32_t>(parentRecord.length);
  const bool parentBare =
      parent != 0 && parentRecord.length - static_cast<std::int32_t>(parentStartTag + EndTagLength(parentRecord)) == 0;
  if (parent != 0 && Depth(parentRecord) + 1 > kMaxDepth) return RefuseEdit(u"Element too deep");
  std::u16string parentName;
  if (parentEmpty) {
    parentName = ElementName(parent);
    if (parentName.size() + 3 > kMaxEndTagLength) return RefuseEdit(u"End tag too long");
  }

  std::u16string element;
  element.reserve(2 * elementName.size() + contentText.size() + 16);
  element += u'<';
  element += elementName;
  if (!contentText.empty()) {
    element += u'>';
    element += (options & XIO_CDATA) != 0 ? WrapCdata(contentText) : EscapeMarkup(contentText, options);
    element += u"</";
    element += elementName;
    element += u'>';
  } else if ((options & XIO_STARTTAGONLY) != 0) {
    element += u'>';
  } else {
    element += (options & XIO_SPACEDEMPTY) != 0 ? u" />" : u"/>";
  }
  const auto elementLength = static_cast<std::int32_t>(element.size());
  const bool lineEnds = (options & XIO_NOCRLF) == 0;
  if (lineEnds) element += kLineEnd;

  const bool before = (options & XIO_BEFORE) != 0;
  std::int32_t offset = 0;
  if (after != 0) {
    const ElementRecord& afterRecord = Record(after);
    offset = before ? afterRecord.start : afterRecord.start + afterRecord.length;
  } else if (parentEmpty) {
    offset = parentRecord.start + static_cast<std::int32_t>(parentStartTag) - ((parentRecord.flags & XRF_OPEN) != 0 ? 0 : 1);
  } else if (before) {
    offset = parentRecord.start + static_cast<std::int32_t>(parentStartTag);
  } else {
    offset = parentRecord.start + parentRecord.length - static_cast<std::int32_t>(EndTagLength(parentRecord));
  }
  // A new sibling goes after the line end that closed the previous one.
  if (lineEnds && !parentEmpty) {
    auto runEnd = static_cast<std::size_t>(offset);
    while (runEnd < text.size() && IsXmlSpace(text[runEnd])) ++runEnd;
    if (runEnd == text.size() || text[runEnd] == u'<') offset = static_cast<std::int32_t>(runEnd);
  }

  std::int32_t linkAfter = 0;
  if (after != 0) {
    linkAfter = !before ? after : (Record(parent).firstChild == after ? 0 : Record(after).prev);
  } else if (!before && parentRecord.firstChild != 0) {
    linkAfter = Record(parentRecord.firstChild).prev;
  }

  std::int32_t spliceAt = offset;
  std::int32_t replaced = 0;
  std::int32_t recordStart = offset;
  std::u16string spliced;
  if (parentEmpty) {
    // <p/> or an open <p> becomes <p> CR LF child CR LF </p>.
    spliced = u">";
    if (lineEnds) spliced += kLineEnd;
    spliced += element;
    spliced += u"</";
    spliced += parentName;
    const bool open = (parentRecord.flags & XRF_OPEN) != 0;
    spliceAt = parentRecord.start + parentRecord.length - (open ? 1 : 2);
    replaced = open ? 0 : 1;
    recordStart = offset + (lineEnds ? 2 : 0);
  } else if (parentBare) {
    // Under option 0x02 the opening CR LF is left out too, so that the
    // record's start and the text agree.
    spliceAt = parentRecord.start + static_cast<std::int32_t>(parentStartTag);
    if (lineEnds) spliced = kLineEnd;
    spliced += element;
    recordStart = spliceAt + (lineEnds ? 2 : 0);
  } else {
    spliced = std::move(element);
  }

  const std::int32_t added = NewRecord();
  SpliceText(spliceAt, replaced, spliced);
  ElementRecord& record = Record(added);
  record.start = recordStart;
  record.length = elementLength;
  SetTagLengths(record, startTag, endTag);
  record.firstChild = 0;
  record.flags = (options & XIO_STARTTAGONLY) != 0 ? XRF_OPEN : 0;
  LinkRecord(parent, linkAfter, added);
  if (parentEmpty) {
    ElementRecord& parentNow = Record(parent);
    const std::uint32_t newParentStartTag = (parentNow.flags & XRF_OPEN) != 0 ? parentStartTag : parentStartTag - 1;
    parentNow.flags &= ~XRF_OPEN;
    SetTagLengths(parentNow, newParentStartTag, static_cast<std::uint32_t>(parentName.size()) + 3);
  }
  ShiftFollowing(added, static_cast<std::int32_t>(spliced.size()) - replaced, false);

  if (childMode) {
    childPos = added;
  } else {
    parentPos = parent;
    currentPos = added;
    childPos = 0;
  }
  currentKind = 1;
  return true;
}

bool CXmlDocument::SetAttributeText(std::int32_t pos, const char16_t* name, const char16_t* value,
                                    std::uint32_t options) {
  if (pos == 0 || currentKind != 1) return false;
  if (name == nullptr || *name == 0) return RefuseEdit(u"Attribute name missing");
  if (!CanEdit(pos)) return false;

  std::u16string quoted = u"\"";
  quoted += EscapeMarkup(value != nullptr ? value : u"", options | XIO_ESCAPEQUOTES);
  quoted += u'"';

  const ElementRecord& record = Record(pos);
  const std::int32_t tagClose = record.start + static_cast<std::int32_t>(StartTagLength(record)) - 1;
  AttributeMatch match;
  std::int32_t editAt = 0;
  std::int32_t replaced = 0;
  std::u16string inserted;
  if (FindAttribute(pos, name, match) && match.hasValue) {
    editAt = match.ReplaceStart();
    replaced = match.tokenEnd - editAt;
    inserted = std::move(quoted);
  } else if (match.found) {
    // A bare attribute name gets its value after it.
    editAt = match.end;
    inserted = u"=" + quoted;
  } else {
    editAt = match.insertAt;
    inserted = u" ";
    inserted += name;
    inserted += u'=';
    inserted += quoted;
  }
  if (editAt + replaced > tagClose) return RefuseEdit(u"Start tag cannot take the attribute");
  const auto delta = static_cast<std::int64_t>(inserted.size()) - replaced;
  const std::int64_t newStartTag = static_cast<std::int64_t>(StartTagLength(record)) + delta;
  if (newStartTag > kMaxStartTagLength) return RefuseEdit(u"Start tag too long");

  SpliceText(editAt, replaced, inserted);
  ElementRecord& edited = Record(pos);
  SetTagLengths(edited, static_cast<std::uint32_t>(newStartTag), EndTagLength(edited));
  edited.length += static_cast<std::int32_t>(delta);
  ShiftFollowing(pos, static_cast<std::int32_t>(delta), false);
  return true;
}

bool CXmlDocument::SetAttributeNumber(std::int32_t pos, const char16_t* name, int number, std::uint32_t options) {
  return SetAttributeText(pos, name, Decimal(number).c_str(), options);
}

bool CXmlDocument::EnterElement() {
  if (currentPos == 0 || currentKind != 1) return false;
  parentPos = currentPos;
  currentPos = childPos;
  childPos = 0;
  currentKind = currentPos != 0 ? 1 : 0;
  return true;
}
