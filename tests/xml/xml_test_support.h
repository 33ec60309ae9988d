// Shared fixture of the XML tests: load a text, edit, compare the whole
// text and the records.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "xml/xml_document.h"

// The eleven record fields as plumet-xml prints them, for whole-record checks.
struct RecordFields {
  std::int32_t start, length;
  std::uint32_t startTag, endTag, depth, flags;
  std::int32_t parent, firstChild, next, prev;
  friend bool operator==(const RecordFields&, const RecordFields&) = default;
  friend std::ostream& operator<<(std::ostream& out, const RecordFields& r) {
    return out << "{" << r.start << " " << r.length << " " << r.startTag << " " << r.endTag << " " << r.depth
               << " 0x" << std::hex << r.flags << std::dec << " " << r.parent << " " << r.firstChild << " " << r.next
               << " " << r.prev << "}";
  }
};

inline std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

inline std::vector<unsigned char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<unsigned char> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

class XmlDocumentTest : public ::testing::Test {
 protected:
  bool Load(const char16_t* text) { return doc.ParseText(text); }

  RecordFields Fields(std::int32_t index) const {
    const ElementRecord& r = doc.Record(index);
    return {r.start, r.length, StartTagLength(r), EndTagLength(r), Depth(r),
            r.flags & ~XRF_DEPTH, r.parent, r.firstChild, r.next, r.prev};
  }

  void ExpectText(std::u16string_view expected) const { EXPECT_EQ(Narrow(doc.text), Narrow(expected)); }
  void ExpectStatus(std::string_view expected) const { EXPECT_EQ(Narrow(doc.statusText), expected); }

  // Every record's text span must start with '<' + its name and end where
  // its tags say; a cheap check that text and records agree after edits.
  void ExpectRecordsMatchText() const {
    EXPECT_EQ(doc.Record(0).length, static_cast<std::int32_t>(doc.text.size()));
    for (std::int32_t i = 1; i < doc.recordsUsed; ++i) {
      const ElementRecord& r = doc.Record(i);
      ASSERT_LT(static_cast<std::size_t>(r.start), doc.text.size()) << "record " << i;
      EXPECT_EQ(doc.text[static_cast<std::size_t>(r.start)], u'<') << "record " << i;
      EXPECT_EQ(doc.text[static_cast<std::size_t>(r.start + static_cast<std::int32_t>(StartTagLength(r)) - 1)], u'>')
          << "record " << i;
      if (EndTagLength(r) != 0) {
        std::u16string endTag = u"</" + doc.ElementName(i) + u">";
        EXPECT_EQ(doc.text.substr(static_cast<std::size_t>(r.start + r.length) - endTag.size(), endTag.size()), endTag)
            << "record " << i;
      }
    }
  }

  CXmlDocument doc;
};

// A document text reparsed from scratch must give the records the edits kept.
inline void ExpectSameRecordsAsReparse(const CXmlDocument& edited) {
  CXmlDocument reparsed;
  reparsed.ParseText(edited.text.c_str());
  ASSERT_EQ(reparsed.recordsUsed, edited.recordsUsed);
  for (std::int32_t i = 0; i < edited.recordsUsed; ++i) {
    const ElementRecord& a = edited.Record(i);
    const ElementRecord& b = reparsed.Record(i);
    EXPECT_EQ(a.start, b.start) << "record " << i;
    EXPECT_EQ(a.length, b.length) << "record " << i;
    EXPECT_EQ(a.tagLengths, b.tagLengths) << "record " << i;
    EXPECT_EQ(a.flags, b.flags) << "record " << i;
    EXPECT_EQ(a.parent, b.parent) << "record " << i;
    EXPECT_EQ(a.firstChild, b.firstChild) << "record " << i;
    EXPECT_EQ(a.next, b.next) << "record " << i;
    EXPECT_EQ(a.prev, b.prev) << "record " << i;
  }
}
