// One drawing page: the tool settings for new strokes, the gesture in
// progress and the finished strokes, oldest first.
#pragma once

#include <cstdint>
#include <list>

#include "model/qarel_board.h"
#include "model/qarel_object.h"
#include "model/stroke_history.h"
#include "model/tools.h"
#include "platform/framework/dc.h"
#include "platform/framework/win_types.h"
#include "platform/graphics/gdiplus.h"

class CXmlDocument;

class CQarelPage {
 public:
  static constexpr float kEraserWidth = 32.0f;

  CQarelPage() = default;
  virtual ~CQarelPage();
  CQarelPage(const CQarelPage&) = delete;
  CQarelPage& operator=(const CQarelPage&) = delete;

  // The left button went down at (x, y); true when a stroke was started.
  bool BeginStroke(int x, int y);
  // The pointer moved with the button held; surface holds the board picture.
  void ContinueStroke(int x, int y, CDC* surface);
  // The left button went up at (x, y).
  void EndStroke(int x, int y, CDC* surface);
  // Ends the gesture in progress without a release: its stroke ends where it
  // was last seen and is kept, as its segments are on the board already.
  void EndGesture();
  void DrawAll(Gdiplus::Graphics* graphics);
  // One polyline per stroke at the document's insertion point; false for an empty page.
  bool WriteSvg(CXmlDocument& doc) const;
  // Deletes every stroke, those the history keeps included: the page is as new.
  void Clear();
  // Takes every stroke off the page as one step that Undo brings back.
  void Erase();
  // Undo takes the newest change to the strokes back, Redo puts the last one
  // taken back again. A stroke in progress is ended and kept first, so Undo
  // takes that stroke back. True when the strokes changed.
  bool Undo();
  bool Redo();

  // The board writes m_nTool, m_nWidth, m_crColor and m_argbBackground; the page only reads them.
  std::int32_t m_nTool = TOOL_NONE;
  std::int32_t m_nWidth = 3;
  std::int32_t m_bDrawing = 0;
  COLORREF m_crColor = 0;
  CQarelObject* m_pCurrent = nullptr;  // owned while set
  CQarelBoard* m_pBoard = nullptr;
  POINT m_ptStart;
  POINT m_ptLast;
  Gdiplus::ARGB m_argbBackground = 0xFF000000;
  std::list<CQarelObject*> m_strokes;  // owned

 private:
  CQarelObject* NewStroke() const;
  void DrawSegment(int x, int y, CDC* surface);
  void AppendCurrent();
  bool KeepCurrent();

  CStrokeHistory m_history;
};
