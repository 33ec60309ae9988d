// The record store (segments of 65,536 records) and the tree links.
#include <algorithm>

#include "xml/xml_document.h"

namespace {

std::int32_t SegmentCount(std::int32_t capacity) {
  return capacity == 0 ? 0 : ((capacity - 1) >> kRecordSegmentBits) + 1;
}

std::unique_ptr<ElementRecord[]> ResizedSegment(const ElementRecord* old, std::int32_t oldSize, std::int32_t newSize) {
  // New records are filled in when they are taken.
  std::unique_ptr<ElementRecord[]> segment(new ElementRecord[static_cast<std::size_t>(newSize)]);
  if (old != nullptr) std::copy(old, old + oldSize, segment.get());
  return segment;
}

}  // namespace

ElementRecord& CXmlDocument::Record(std::int32_t index) {
  return segments[static_cast<std::size_t>(index >> kRecordSegmentBits)][static_cast<std::size_t>(index & 0xFFFF)];
}

const ElementRecord& CXmlDocument::Record(std::int32_t index) const {
  return segments[static_cast<std::size_t>(index >> kRecordSegmentBits)][static_cast<std::size_t>(index & 0xFFFF)];
}

void CXmlDocument::ReserveRecords(std::int32_t count) {
  if (count == 0) count = recordsUsed + recordsUsed / 2;
  if (capacity >= count) return;
  const std::int32_t segmentsNow = SegmentCount(capacity);
  // One call opens at most one new segment.
  count = std::min(count, (segmentsNow + 1) * kRecordsPerSegment);
  const std::int32_t last = (count - 1) >> kRecordSegmentBits;
  if (last >= segmentSlots) {
    const std::int32_t slots = 2 * last + 4;
    auto table = std::make_unique<std::unique_ptr<ElementRecord[]>[]>(static_cast<std::size_t>(slots));
    for (std::int32_t i = 0; i < segmentSlots; ++i) table[static_cast<std::size_t>(i)] = std::move(segments[static_cast<std::size_t>(i)]);
    segments = std::move(table);
    segmentSlots = slots;
  }
  const std::int32_t lastNow = segmentsNow - 1;
  const std::int32_t lastNowSize = capacity - lastNow * kRecordsPerSegment;
  if (last > lastNow && lastNow >= 0 && lastNowSize < kRecordsPerSegment) {
    auto& full = segments[static_cast<std::size_t>(lastNow)];
    full = ResizedSegment(full.get(), lastNowSize, kRecordsPerSegment);
  }
  auto& target = segments[static_cast<std::size_t>(last)];
  const std::int32_t keep = last == lastNow ? lastNowSize : 0;
  target = ResizedSegment(target.get(), keep, count - last * kRecordsPerSegment);
  capacity = count;
}

std::int32_t CXmlDocument::NewRecord() {
  if (recordsUsed == capacity) ReserveRecords(0);
  std::int32_t index = recordsUsed++;
  Record(index) = ElementRecord{};
  return index;
}

void CXmlDocument::LinkRecord(std::int32_t parent, std::int32_t after, std::int32_t added) {
  ElementRecord& record = Record(added);
  record.parent = parent;
  if (after != 0) {
    ElementRecord& previous = Record(after);
    record.flags &= ~XRF_FIRST;
    record.next = previous.next;
    std::int32_t following = previous.next != 0 ? previous.next : Record(parent).firstChild;
    Record(following).prev = added;
    previous.next = added;
    record.prev = after;
  } else {
    record.flags |= XRF_FIRST;
    ElementRecord& parentRecord = Record(parent);
    if (parentRecord.firstChild != 0) {
      ElementRecord& first = Record(parentRecord.firstChild);
      record.next = parentRecord.firstChild;
      record.prev = first.prev;
      first.prev = added;
      first.flags &= ~XRF_FIRST;
    } else {
      record.next = 0;
      record.prev = added;
    }
    parentRecord.firstChild = added;
  }
  if (parent != 0) SetDepth(record, Depth(Record(parent)) + 1);
}

void CXmlDocument::ShiftFollowing(std::int32_t pos, std::int32_t delta, bool skipChildren) {
  // Moves the start of every record in the subtree under first.
  auto shiftSubtree = [this, delta](std::int32_t first) {
    std::int32_t index = first;
    while (index != 0) {
      ElementRecord& record = Record(index);
      record.start += delta;
      if (record.firstChild != 0) {
        index = record.firstChild;
        continue;
      }
      while (index != first && Record(index).next == 0) index = Record(index).parent;
      index = index == first ? 0 : Record(index).next;
    }
  };
  if (!skipChildren) {
    for (std::int32_t child = Record(pos).firstChild; child != 0; child = Record(child).next) shiftSubtree(child);
  }
  std::int32_t index = pos;
  while (index != 0) {
    for (std::int32_t sibling = Record(index).next; sibling != 0; sibling = Record(sibling).next) shiftSubtree(sibling);
    index = Record(index).parent;
    Record(index).length += delta;
  }
}
