// BuildElementTree: one walk over the nodes of the text that creates the
// element records and keeps the first problem as the status text. It never
// stops at an error, and its time grows linearly with the text whatever the
// nesting: unended elements are closed in one pass over their children, and
// after the first end tag that matches no open element, end tags find their
// element through an index of the open names.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "xml/xml_decimal.h"
#include "xml/xml_document.h"
#include "xml/xml_open_names.h"

namespace {

struct OpenElement {
  std::int32_t record;
  std::int32_t nameLength;
};

class ElementTreeBuilder {
 public:
  ElementTreeBuilder(CXmlDocument& doc, std::int32_t parent, ScanPosition& position)
      : doc_(doc),
        position_(position),
        source_(position.text),
        ignoreCase_((position.flags & XDF_NOCASE) != 0),
        parent_(parent),
        current_(parent),
        startDepth_(Depth(doc.Record(parent))) {
    open_.reserve(6);
  }

  std::int32_t Build() {
    doc_.statusText.clear();
    XmlNode node;
    while (true) {
      const std::int32_t kind = ScanNode(position_, node);
      if (kind == XNK_ENDOFTEXT) break;
      if (kind == XNK_STARTTAG) AddStartTag(node);
      if (kind == XNK_ENDTAG) CloseByEndTag(node);
      if (kind == XNK_ERROR) AddErrorNode(node);
    }
    CloseAtEndOfText();
    return first_;
  }

 private:
  ElementRecord& Record(std::int32_t index) { return doc_.Record(index); }

  // Only the first problem becomes the status; the message is not even
  // built for later ones.
  template <typename Message>
  void Report(Message message) {
    if (doc_.statusText.empty()) doc_.statusText = message();
  }

  void MarkNotWellFormed() { Record(parent_).flags |= XRF_NOTWELLFORMED; }

  void MarkError() {
    MarkNotWellFormed();
    Record(current_).flags |= XRF_ERROR;
  }

  // Fields too large for the record are clamped and the record refuses
  // later edits.
  void MarkOverflow(std::int32_t index) {
    Record(index).flags |= XRF_OVERFLOW | XRF_ERROR;
    MarkNotWellFormed();
  }

  std::u16string_view OpenName(const OpenElement& element) {
    return source_.substr(static_cast<std::size_t>(Record(element.record).start) + 1,
                          static_cast<std::size_t>(element.nameLength));
  }

  void PushOpen(std::int32_t index, std::int32_t nameLength) {
    open_.push_back({index, nameLength});
    if (names_) names_->Push(OpenName(open_.back()), open_.size() - 1);
    current_ = index;
  }

  void PopOpen() {
    if (names_) names_->Pop(OpenName(open_.back()));
    open_.pop_back();
  }

  void AddStartTag(const XmlNode& node) {
    const std::int32_t index = doc_.NewRecord();
    if (first_ == 0) first_ = index;
    const ElementRecord& parentRecord = Record(current_);
    doc_.LinkRecord(current_, parentRecord.firstChild != 0 ? Record(parentRecord.firstChild).prev : 0, index);
    ElementRecord& record = Record(index);
    const std::uint64_t depth = startDepth_ + open_.size();
    SetDepth(record, static_cast<std::uint32_t>(std::min<std::uint64_t>(depth, kMaxDepth)));
    record.start = node.start;
    record.length = node.length;
    SetTagLengths(record, std::min(static_cast<std::uint32_t>(node.length), kMaxStartTagLength), 0);
    if (static_cast<std::uint32_t>(node.length) > kMaxStartTagLength) {
      MarkOverflow(index);
      Report([&] { return u"Start tag at offset " + Decimal(node.start) + u" too long"; });
    }
    if (depth > kMaxDepth) {
      MarkOverflow(index);
      Report([&] { return u"Element at offset " + Decimal(node.start) + u" too deep"; });
    }
    if ((node.flags & XNF_SELFCLOSED) == 0) PushOpen(index, static_cast<std::int32_t>(node.name.size()));
  }

  // The level of the innermost open element the end tag closes, or kNone.
  // A walk outwards from the innermost element costs no more than the
  // closing of the elements it passes, which follows; only a walk that finds
  // nothing is paid for by nobody. The first such walk builds the index of
  // open names that answers every later end tag.
  std::size_t MatchingLevel(std::u16string_view name) {
    if (names_) return names_->Innermost(name);
    for (std::size_t level = open_.size(); level > 0; --level) {
      if (NameMatches(name, OpenName(open_[level - 1]), ignoreCase_)) return level - 1;
    }
    names_.emplace(ignoreCase_);
    for (std::size_t level = 0; level < open_.size(); ++level) names_->Push(OpenName(open_[level]), level);
    return OpenNameIndex::kNone;
  }

  void CloseByEndTag(const XmlNode& node) {
    const std::u16string_view name = position_.Token();
    const std::size_t level = MatchingLevel(name);
    if (level == OpenNameIndex::kNone) {
      MarkError();
      Report([&] {
        return u"No start tag for end tag '" + std::u16string(name) + u"' at offset " + Decimal(node.start);
      });
      return;
    }
    if (level + 1 < open_.size()) {
      const OpenElement& innermost = open_.back();
      Report([&] {
        return u"End tag '" + std::u16string(name) + u"' at offset " + Decimal(node.start + 1) +
               u" does not match start tag '" + std::u16string(OpenName(innermost)) + u"' at offset " +
               Decimal(Record(innermost.record).start);
      });
      CloseUnendedFrom(level + 1);
    }
    CloseMatched(node);
  }

  void CloseMatched(const XmlNode& endTag) {
    const std::int32_t index = open_.back().record;
    PopOpen();
    ElementRecord& element = Record(index);
    element.length = endTag.start - element.start + endTag.length;
    SetTagLengths(element, StartTagLength(element),
                  std::min(static_cast<std::uint32_t>(endTag.length), kMaxEndTagLength));
    current_ = element.parent;
    if (static_cast<std::uint32_t>(endTag.length) > kMaxEndTagLength) {
      MarkOverflow(index);
      Report([&] { return u"End tag at offset " + Decimal(element.start) + u" too long"; });
    }
  }

  void AddErrorNode(const XmlNode& node) {
    MarkError();
    Report([&] { return node.name; });
  }

  void CloseAtEndOfText() {
    if (open_.empty()) return;
    const OpenElement& innermost = open_.back();
    Report([&] {
      return u"Element '" + std::u16string(OpenName(innermost)) + u"' at offset " +
             Decimal(Record(innermost.record).start) + u" not ended";
    });
    CloseUnendedFrom(0);
  }

  // Closes the open elements from level inwards as unended: each keeps only
  // its start tag, and its children follow it as siblings under the parent
  // of the outermost one. Closing them one by one, innermost first, would
  // move the same children again at every level; the result is the same
  // run in document order, built here in one pass. An error flag on any of
  // them moves to that parent.
  void CloseUnendedFrom(std::size_t level) {
    const std::int32_t outermost = open_[level].record;
    const std::int32_t up = Record(outermost).parent;
    std::int32_t last = outermost;
    bool error = false;
    for (std::size_t at = level; at < open_.size(); ++at) {
      const std::int32_t index = open_[at].record;
      ElementRecord& element = Record(index);
      SetTagLengths(element, StartTagLength(element), 0);
      element.flags |= XRF_OPEN;
      element.length = static_cast<std::int32_t>(StartTagLength(element));
      error = error || (element.flags & XRF_ERROR) != 0;
      element.flags &= ~XRF_ERROR;
      const std::int32_t firstMoved = element.firstChild;
      if (firstMoved == 0) continue;
      // The last child of every element but the innermost is the next open
      // element, whose own children the next round moves.
      for (std::int32_t moved = firstMoved; moved != 0; moved = Record(moved).next) {
        Record(moved).parent = up;
        last = moved;
      }
      Record(firstMoved).flags &= ~XRF_FIRST;
      Record(firstMoved).prev = index;
      element.next = firstMoved;
      element.firstChild = 0;
    }
    Record(Record(up).firstChild).prev = last;
    if (error) Record(up).flags |= XRF_ERROR;
    MarkNotWellFormed();
    while (open_.size() > level) PopOpen();
    current_ = up;
  }

  CXmlDocument& doc_;
  ScanPosition& position_;
  const std::u16string_view source_;
  const bool ignoreCase_;
  const std::int32_t parent_;
  std::int32_t current_;
  const std::uint32_t startDepth_;
  std::int32_t first_ = 0;
  std::vector<OpenElement> open_;
  std::optional<OpenNameIndex> names_;
};

}  // namespace

std::int32_t CXmlDocument::BuildElementTree(std::int32_t parent, ScanPosition& position) {
  return ElementTreeBuilder(*this, parent, position).Build();
}
