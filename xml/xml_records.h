// The position record kept per element, and its packed fields.
#pragma once

#include <cstdint>

struct ElementRecord {
  std::int32_t start;        // offset of the element's '<'
  std::int32_t length;       // start tag through end tag
  std::uint32_t tagLengths;  // start-tag length (low 22 bits), end-tag length (high 10)
  std::uint32_t flags;       // depth (low 16 bits) and XRF_ bits
  std::int32_t parent;
  std::int32_t firstChild;
  std::int32_t next;         // 0 for the last sibling
  std::int32_t prev;         // the first sibling's prev names the last one
};

constexpr std::uint32_t XRF_DEPTH = 0xFFFF;
constexpr std::uint32_t XRF_FIRST = 0x80000;
constexpr std::uint32_t XRF_OPEN = 0x100000;        // no end tag and not self-closed
constexpr std::uint32_t XRF_ERROR = 0x200000;       // a parse error lies inside
// A field was too large for the record (start tag, end tag or depth); the
// record holds clamped values and refuses edits.
constexpr std::uint32_t XRF_OVERFLOW = 0x400000;
constexpr std::uint32_t XRF_NOTWELLFORMED = 0x800000;  // record 0 only

constexpr std::int32_t kRecordSegmentBits = 16;
constexpr std::int32_t kRecordsPerSegment = 1 << kRecordSegmentBits;

constexpr std::uint32_t kMaxStartTagLength = (1u << 22) - 1;
constexpr std::uint32_t kMaxEndTagLength = (1u << 10) - 1;
constexpr std::uint32_t kMaxDepth = XRF_DEPTH;

inline std::uint32_t StartTagLength(const ElementRecord& record) { return record.tagLengths & kMaxStartTagLength; }
inline std::uint32_t EndTagLength(const ElementRecord& record) { return record.tagLengths >> 22; }
inline std::uint32_t Depth(const ElementRecord& record) { return record.flags & XRF_DEPTH; }

// Callers check the limits first; the masks only keep the fields apart.
inline void SetTagLengths(ElementRecord& record, std::uint32_t startTag, std::uint32_t endTag) {
  record.tagLengths = (startTag & kMaxStartTagLength) | ((endTag & kMaxEndTagLength) << 22);
}
inline void SetDepth(ElementRecord& record, std::uint32_t depth) {
  record.flags = (record.flags & ~XRF_DEPTH) | (depth & XRF_DEPTH);
}
