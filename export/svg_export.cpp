#include "export/svg_export.h"

#include "model/board_modes.h"
#include "model/qarel_page.h"
#include "platform/codecs/safe_file_write.h"
#include "platform/text/code_page_converter.h"
#include "xml/xml_document.h"

namespace {

constexpr char16_t kDescription[] = u"Exported by Tessavon International LTD.https://plumet.app/";

// The dialog's paths are UTF-8; the document takes UTF-16 names.
std::u16string WidePath(const std::string& path) {
  using namespace plumet::text;
  const int length = static_cast<int>(path.size());
  std::u16string wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, path.data(), length, nullptr, 0)), u'\0');
  MultiByteToWideChar(CP_UTF8, path.data(), length, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

}  // namespace

bool SaveSvg(const BoardPicture& board, const std::string& path) {
  CXmlDocument doc;
  doc.ParseText(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  doc.InsertElement(u"svg", nullptr, 0);
  doc.SetAttributeNumber(doc.currentPos, u"width", board.width, 0);
  doc.SetAttributeNumber(doc.currentPos, u"height", board.height, 0);
  doc.EnterElement();
  doc.InsertElement(u"desc", kDescription, 0);
  if (board.backMode == BM_WHITEBOARD) {
    doc.InsertElement(u"rect", nullptr, 0);
    doc.SetAttributeNumber(doc.currentPos, u"x", 0, 0);
    doc.SetAttributeNumber(doc.currentPos, u"y", 0, 0);
    doc.SetAttributeNumber(doc.currentPos, u"width", board.width, 0);
    doc.SetAttributeNumber(doc.currentPos, u"height", board.height, 0);
    doc.SetAttributeText(doc.currentPos, u"style", u"stroke:none;fill:#ffffff", 0);
  }
  if (!board.pages[board.currentPage].WriteSvg(doc)) return false;
  return plumet::codecs::WriteFileSafely(
      path, [&doc](const std::string& writePath) { return doc.SaveToFile(WidePath(writePath).c_str()); });
}
