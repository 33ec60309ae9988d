// An XML document held as one UTF-16 text with one position record per
// element. Every edit changes the text in place and then corrects the
// records; failures are results and status texts, never exceptions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/text/system_path.h"
#include "xml/xml_records.h"
#include "xml/xml_scanner.h"

// documentFlags bits.
constexpr std::uint32_t XDF_UTF16LE = 0x01;   // byte-order mark FF FE
constexpr std::uint32_t XDF_UTF8BOM = 0x04;   // byte-order mark EF BB BF
constexpr std::uint32_t XDF_NOCASE = 0x08;    // names compare without ASCII case
constexpr std::uint32_t XDF_READ = 0x10;
constexpr std::uint32_t XDF_WRITE = 0x20;
constexpr std::uint32_t XDF_APPEND = 0x40;
constexpr std::uint32_t XDF_UTF16BE = 0x80;   // byte-order mark FE FF

// InsertElement option bits; the same word reaches EscapeMarkup.
constexpr std::uint32_t XIO_CDATA = 0x01;
constexpr std::uint32_t XIO_NOCRLF = 0x02;
constexpr std::uint32_t XIO_SPACEDEMPTY = 0x04;   // <name /> instead of <name/>
constexpr std::uint32_t XIO_KEEPENTITIES = 0x08;
constexpr std::uint32_t XIO_STARTTAGONLY = 0x10;
constexpr std::uint32_t XIO_ESCAPEQUOTES = 0x100;
constexpr std::uint32_t XIO_BEFORE = 0x2000;
constexpr std::uint32_t XIO_CHILD = 0x4000;

// currentKind: whether currentPos names an element.
constexpr std::int32_t XCK_NONE = 0;
constexpr std::int32_t XCK_ELEMENT = 1;

class CXmlDocument {
 public:
  CXmlDocument();
  CXmlDocument(const CXmlDocument&) = delete;
  CXmlDocument& operator=(const CXmlDocument&) = delete;

  std::u16string text;
  std::u16string statusText;
  std::int32_t parentPos = 0;
  std::int32_t currentPos = 0;
  std::int32_t childPos = 0;
  std::int32_t recordsUsed = 0;
  std::int32_t currentKind = 0;
  std::uint32_t documentFlags = 0;
  std::unique_ptr<std::unique_ptr<ElementRecord[]>[]> segments;
  std::int32_t capacity = 0;
  std::int32_t segmentSlots = 0;

  // Building.
  // A C string ends at its first NUL; a text of a file may hold NUL
  // characters and is parsed whole through the second form.
  bool ParseText(const char16_t* text);
  bool ParseText(std::u16string_view text);
  bool InsertElement(const char16_t* name, const char16_t* content, std::uint32_t options);
  bool SetAttributeText(std::int32_t pos, const char16_t* name, const char16_t* value, std::uint32_t options);
  bool SetAttributeNumber(std::int32_t pos, const char16_t* name, int number, std::uint32_t options);
  bool EnterElement();
  bool IsWellFormed() const;

  // Saving (the document's declared charset, status in statusText).
  bool SaveToFile(const plumet::text::PathChar* path);

  // Records.
  ElementRecord& Record(std::int32_t index);
  const ElementRecord& Record(std::int32_t index) const;
  void ReserveRecords(std::int32_t count);
  // Takes the next record, cleared, growing the store when it is full.
  std::int32_t NewRecord();
  void LinkRecord(std::int32_t parent, std::int32_t after, std::int32_t added);
  void ShiftFollowing(std::int32_t pos, std::int32_t delta, bool skipChildren);

  // Text helpers.
  std::u16string ElementName(std::int32_t pos) const;
  bool FindAttribute(std::int32_t pos, std::u16string_view name, AttributeMatch& match) const;
  void SpliceText(std::int32_t offset, std::int32_t count, std::u16string_view input);
  static std::u16string EscapeMarkup(std::u16string_view input, std::uint32_t options);
  static std::u16string WrapCdata(std::u16string_view input);

  // Parsing.
  std::int32_t BuildElementTree(std::int32_t parent, ScanPosition& position);

 private:
  bool RefuseEdit(const char16_t* reason);
  bool CanEdit(std::int32_t pos);
};
