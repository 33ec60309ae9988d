#include "model/qarel_page.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "model/round_pen.h"

CQarelPage::~CQarelPage() {
  Clear();
  delete m_pCurrent;
}

CQarelObject* CQarelPage::NewStroke() const {
  auto* stroke = new (std::nothrow) CQarelObject;
  if (!stroke) return nullptr;
  if (m_nTool == TOOL_BIGERASER) {
    stroke->m_bBackground = 1;
    stroke->m_nAlpha = static_cast<std::int32_t>(m_argbBackground >> 24);
    stroke->m_crColor = RGB((m_argbBackground >> 16) & 0xFF, (m_argbBackground >> 8) & 0xFF, m_argbBackground & 0xFF);
    stroke->m_fWidth = kEraserWidth;
  } else {
    stroke->m_crColor = m_crColor;
    stroke->m_fWidth = static_cast<float>(m_nWidth);
  }
  return stroke;
}

void CQarelPage::EndGesture() {
  KeepCurrent();
  m_bDrawing = 0;
}

bool CQarelPage::BeginStroke(int x, int y) {
  // A second button-down before the button-up (the capture was lost): the
  // stroke in progress is ended where it was last seen and kept, with every
  // tool, the hand included. Its segments are on the board already, so
  // keeping it keeps the list and the picture in agreement, and only one
  // stroke is ever in progress.
  EndGesture();
  m_ptStart = {x, y};
  m_ptLast = {x, y};
  m_bDrawing = 1;
  if (m_nTool != TOOL_PEN && m_nTool != TOOL_BIGERASER) return false;
  m_pCurrent = NewStroke();
  if (!m_pCurrent) return false;
  // Without memory for its points the stroke is not started at all.
  if (!m_pCurrent->AddPoint(x, y, false)) {
    delete m_pCurrent;
    m_pCurrent = nullptr;
    return false;
  }
  return true;
}

void CQarelPage::ContinueStroke(int x, int y, CDC* surface) {
  if (!m_bDrawing) return;
  if (m_pCurrent) {
    // A point that could not be stored is not drawn either.
    if (m_pCurrent->AddPoint(x, y, false)) DrawSegment(x, y, surface);
  } else if (m_nTool == TOOL_HAND && m_pBoard) {
    m_pBoard->PanView(m_ptStart.x, m_ptStart.y, x, y);
  }
  m_ptLast = {x, y};
}

// The segment follows the stroke's own kind and width, so that a tool or
// width changed in mid-drag cannot draw it unlike the curve that replaces it.
void CQarelPage::DrawSegment(int x, int y, CDC* surface) {
  if (!surface) return;
  Gdiplus::Graphics graphics(surface->GetSafeHdc());
  int alpha = m_pCurrent->m_nAlpha;
  if (m_pCurrent->m_bBackground) {
    // Alpha 0 would make a hole that pointer input passes through.
    alpha = m_pBoard ? m_pBoard->GetEraserAlpha() : 0;
    if (alpha <= 0) alpha = 1;
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  } else {
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  }
  const float width = m_pCurrent->m_fWidth;
  const Gdiplus::Pen pen = MakeRoundPen(ArgbFromColorRef(alpha, m_pCurrent->m_crColor), width);
  graphics.DrawLine(&pen, m_ptLast.x, m_ptLast.y, x, y);
  if (m_pBoard) {
    // Half the pen around each end, plus a pixel for the anti-aliased rim.
    const int reach = static_cast<int>(std::ceil(width / 2)) + 1;
    const RECT dirty{std::min(m_ptLast.x, x) - reach, std::min(m_ptLast.y, y) - reach,
                     std::max(m_ptLast.x, x) + reach + 1, std::max(m_ptLast.y, y) + reach + 1};
    m_pBoard->PresentBoard(&dirty);
  }
}

void CQarelPage::EndStroke(int x, int y, CDC* surface) {
  if (m_bDrawing && m_pCurrent) {
    // At the last point the segments already show the stroke; no curve is drawn then.
    if (m_pCurrent->AddPoint(x, y, true) && surface) {
      Gdiplus::Graphics graphics(surface->GetSafeHdc());
      m_pCurrent->m_argbBackground = m_argbBackground;
      m_pCurrent->Draw(&graphics);
      if (m_pBoard) m_pBoard->PresentBoard();
    }
    AppendCurrent();
  }
  m_bDrawing = 0;
}

void CQarelPage::AppendCurrent() {
  m_strokes.push_back(m_pCurrent);
  m_history.StrokeAppended(m_pCurrent);
  m_pCurrent = nullptr;
}

// Ends the stroke in progress where the pointer was last seen; the gesture
// goes on without a stroke until its button-up.
bool CQarelPage::KeepCurrent() {
  if (!m_pCurrent) return false;
  m_pCurrent->AddPoint(m_ptLast.x, m_ptLast.y, true);
  AppendCurrent();
  return true;
}

void CQarelPage::DrawAll(Gdiplus::Graphics* graphics) {
  if (!graphics || m_strokes.empty()) return;
  graphics->SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  // The board's background may have changed since the strokes were made.
  // Set before the halves start: from then on both threads only read the strokes.
  for (CQarelObject* stroke : m_strokes) stroke->m_argbBackground = m_argbBackground;
  // Each half draws every stroke in order, so later strokes still cover earlier ones.
  graphics->DrawInBands([this](Gdiplus::Graphics& band) {
    for (const CQarelObject* stroke : m_strokes) stroke->Draw(&band);
  });
}

bool CQarelPage::WriteSvg(CXmlDocument& doc) const {
  for (const CQarelObject* stroke : m_strokes)
    if (!stroke->WriteSvg(doc)) return false;
  return !m_strokes.empty();
}

void CQarelPage::Erase() { m_history.Erase(m_strokes); }

bool CQarelPage::Undo() {
  const bool kept = KeepCurrent();
  return m_history.Undo(m_strokes) || kept;
}

// A stroke kept here is a new step: it drops the redo steps, as any new stroke does.
bool CQarelPage::Redo() {
  const bool kept = KeepCurrent();
  return m_history.Redo(m_strokes) || kept;
}

void CQarelPage::Clear() {
  m_history.Clear();
  while (!m_strokes.empty()) {
    delete m_strokes.front();
    m_strokes.pop_front();
  }
}
