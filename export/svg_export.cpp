#include "export/svg_export.h"

#include "model/board_modes.h"
#include "model/qarel_page.h"
#include <cerrno>

#include "platform/codecs/safe_file_write.h"
#include "xml/xml_document.h"

namespace {

constexpr char16_t kDescription[] = u"Exported by Tessavon International LTD.https://plumet.app/";

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
  if (!board.pages[board.currentPage].WriteSvg(doc)) {
    errno = ENODATA;  // the reason a user is told: there is nothing to save
    return false;
  }
  // The document goes to exactly the temporary the writer made, by its bytes.
  return plumet::codecs::WriteFileSafely(
      plumet::text::SystemPathFromUtf8(path), [&doc](const plumet::codecs::SystemPath& writePath) { return doc.SaveToFile(writePath.c_str()); });
}
