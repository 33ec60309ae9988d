// Building: elements and attributes are written into the text in place,
// then the records are corrected.
#include <algorithm>
#include <string>

#include "xml/xml_decimal.h"
#include "xml/xml_document.h"

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

// The text of a new element (with its line end unless XIO_NOCRLF), the
// length of the element itself and its tag lengths.
struct NewElement {
  std::u16string text;
  std::int32_t length = 0;
  std::uint32_t startTag = 0;
  std::uint32_t endTag = 0;
};

NewElement ElementText(std::u16string_view name, std::u16string_view content, std::uint32_t options) {
  const auto nameLength = static_cast<std::uint32_t>(std::min<std::size_t>(name.size(), UINT32_MAX - 8));
  NewElement element;
  element.text.reserve(2 * name.size() + content.size() + 16);
  element.text += u'<';
  element.text += name;
  if (!content.empty()) {
    element.text += u'>';
    element.text += (options & XIO_CDATA) != 0 ? CXmlDocument::WrapCdata(content)
                                                : CXmlDocument::EscapeMarkup(content, options);
    element.text += u"</";
    element.text += name;
    element.text += u'>';
    element.startTag = nameLength + 2;
    element.endTag = nameLength + 3;
  } else if ((options & XIO_STARTTAGONLY) != 0) {
    element.text += u'>';
    element.startTag = nameLength + 2;
  } else if ((options & XIO_SPACEDEMPTY) != 0) {
    element.text += u" />";
    element.startTag = nameLength + 4;
  } else {
    element.text += u"/>";
    element.startTag = nameLength + 3;
  }
  element.length = static_cast<std::int32_t>(element.text.size());
  if ((options & XIO_NOCRLF) == 0) element.text += kLineEnd;
  return element;
}

// What the parent looks like before the insertion. Empty: <p/>, <p /> or
// an open <p> (start tag only). Bare: <p></p>.
struct ParentShape {
  ElementRecord record;
  std::uint32_t startTag = 0;
  bool empty = false;
  bool bare = false;
  bool open = false;
  std::u16string name;  // only for an empty parent, which gets an end tag
};

ParentShape ShapeOf(const CXmlDocument& doc, std::int32_t parent) {
  ParentShape shape;
  shape.record = doc.Record(parent);
  shape.startTag = StartTagLength(shape.record);
  shape.empty = parent != 0 && shape.startTag == static_cast<std::uint32_t>(shape.record.length);
  shape.bare = parent != 0 &&
               shape.record.length - static_cast<std::int32_t>(shape.startTag + EndTagLength(shape.record)) == 0;
  shape.open = (shape.record.flags & XRF_OPEN) != 0;
  if (shape.empty) shape.name = doc.ElementName(parent);
  return shape;
}

// Where the new element goes when the parent is neither empty nor bare,
// and where its record starts.
std::int32_t InsertionOffset(const CXmlDocument& doc, const ParentShape& shape, std::int32_t after,
                             std::uint32_t options) {
  const bool before = (options & XIO_BEFORE) != 0;
  const ElementRecord& parent = shape.record;
  std::int32_t offset = 0;
  if (after != 0) {
    const ElementRecord& afterRecord = doc.Record(after);
    offset = before ? afterRecord.start : afterRecord.start + afterRecord.length;
  } else if (shape.empty) {
    offset = parent.start + static_cast<std::int32_t>(shape.startTag) - (shape.open ? 0 : 1);
  } else if (before) {
    offset = parent.start + static_cast<std::int32_t>(shape.startTag);
  } else {
    offset = parent.start + parent.length - static_cast<std::int32_t>(EndTagLength(parent));
  }
  // A new sibling goes after the line end that closed the previous one.
  if ((options & XIO_NOCRLF) == 0 && !shape.empty) {
    auto runEnd = static_cast<std::size_t>(offset);
    while (runEnd < doc.text.size() && IsXmlSpace(doc.text[runEnd])) ++runEnd;
    if (runEnd == doc.text.size() || doc.text[runEnd] == u'<') offset = static_cast<std::int32_t>(runEnd);
  }
  return offset;
}

// The sibling the new record is linked after, 0 for the first child.
std::int32_t LinkTarget(const CXmlDocument& doc, std::int32_t parent, std::int32_t after, std::uint32_t options) {
  const bool before = (options & XIO_BEFORE) != 0;
  if (after != 0) return !before ? after : (doc.Record(parent).firstChild == after ? 0 : doc.Record(after).prev);
  const std::int32_t firstChild = doc.Record(parent).firstChild;
  return !before && firstChild != 0 ? doc.Record(firstChild).prev : 0;
}

// The text edit that inserts the element, and where its record starts.
struct Splice {
  std::int32_t at = 0;
  std::int32_t replaced = 0;
  std::int32_t recordStart = 0;
  std::u16string text;
};

Splice PlanSplice(const ParentShape& shape, std::u16string element, std::int32_t offset, std::uint32_t options) {
  const bool lineEnds = (options & XIO_NOCRLF) == 0;
  const ElementRecord& parent = shape.record;
  Splice splice{offset, 0, offset, {}};
  if (shape.empty) {
    // <p/> or an open <p> becomes <p> CR LF child CR LF </p>.
    splice.text = u">";
    if (lineEnds) splice.text += kLineEnd;
    splice.text += element;
    splice.text += u"</";
    splice.text += shape.name;
    splice.at = parent.start + parent.length - (shape.open ? 1 : 2);
    splice.replaced = shape.open ? 0 : 1;
    splice.recordStart = offset + (lineEnds ? 2 : 0);
  } else if (shape.bare) {
    // Under XIO_NOCRLF the opening CR LF is left out too, so that the
    // record's start and the text agree.
    splice.at = parent.start + static_cast<std::int32_t>(shape.startTag);
    if (lineEnds) splice.text = kLineEnd;
    splice.text += element;
    splice.recordStart = splice.at + (lineEnds ? 2 : 0);
  } else {
    splice.text = std::move(element);
  }
  return splice;
}

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

  NewElement element = ElementText(name, contentText, options);
  if (element.startTag > kMaxStartTagLength) return RefuseEdit(u"Start tag too long");
  if (element.endTag > kMaxEndTagLength) return RefuseEdit(u"End tag too long");
  const ParentShape shape = ShapeOf(*this, parent);
  if (parent != 0 && Depth(shape.record) + 1 > kMaxDepth) return RefuseEdit(u"Element too deep");
  if (shape.empty && shape.name.size() + 3 > kMaxEndTagLength) return RefuseEdit(u"End tag too long");

  const std::int32_t offset = InsertionOffset(*this, shape, after, options);
  const std::int32_t linkAfter = LinkTarget(*this, parent, after, options);
  const Splice splice = PlanSplice(shape, std::move(element.text), offset, options);

  const std::int32_t added = NewRecord();
  SpliceText(splice.at, splice.replaced, splice.text);
  ElementRecord& record = Record(added);
  record.start = splice.recordStart;
  record.length = element.length;
  SetTagLengths(record, element.startTag, element.endTag);
  record.firstChild = 0;
  record.flags = (options & XIO_STARTTAGONLY) != 0 ? XRF_OPEN : 0;
  LinkRecord(parent, linkAfter, added);
  if (shape.empty) {
    // The parent now has an end tag; <p/> lost its '/'.
    ElementRecord& parentNow = Record(parent);
    const std::uint32_t newParentStartTag = (parentNow.flags & XRF_OPEN) != 0 ? shape.startTag : shape.startTag - 1;
    parentNow.flags &= ~XRF_OPEN;
    SetTagLengths(parentNow, newParentStartTag, static_cast<std::uint32_t>(shape.name.size()) + 3);
  }
  ShiftFollowing(added, static_cast<std::int32_t>(splice.text.size()) - splice.replaced, false);

  if (childMode) {
    childPos = added;
  } else {
    parentPos = parent;
    currentPos = added;
    childPos = 0;
  }
  currentKind = XCK_ELEMENT;
  return true;
}

bool CXmlDocument::SetAttributeText(std::int32_t pos, const char16_t* name, const char16_t* value,
                                    std::uint32_t options) {
  if (pos == 0 || currentKind != XCK_ELEMENT) return false;
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
  if (currentPos == 0 || currentKind != XCK_ELEMENT) return false;
  parentPos = currentPos;
  currentPos = childPos;
  childPos = 0;
  currentKind = currentPos != 0 ? XCK_ELEMENT : XCK_NONE;
  return true;
}
