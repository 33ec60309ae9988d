#include "model/stroke_history.h"

CStrokeHistory::~CStrokeHistory() { Clear(); }

void CStrokeHistory::StrokeAppended(CQarelObject* stroke) {
  DropRedo();
  m_done.push_back(stroke);
}

bool CStrokeHistory::Erase(StrokeList& strokes) {
  if (strokes.empty()) return false;
  DropRedo();
  m_erased.emplace_back().splice(m_erased.back().end(), strokes);
  m_done.push_back(nullptr);
  return true;
}

bool CStrokeHistory::Undo(StrokeList& strokes) {
  if (m_done.empty()) return false;
  CQarelObject* step = m_done.back();
  m_done.pop_back();
  if (step) {
    // Every later step has been taken back, so the stroke is the newest on the page.
    strokes.pop_back();
  } else {
    // Likewise the page is as empty as the erase left it: its strokes come back in their order.
    strokes.splice(strokes.end(), m_erased.back());
    m_erased.pop_back();
  }
  m_undone.push_back(step);
  return true;
}

bool CStrokeHistory::Redo(StrokeList& strokes) {
  if (m_undone.empty()) return false;
  CQarelObject* step = m_undone.back();
  m_undone.pop_back();
  if (step) {
    strokes.push_back(step);
  } else {
    m_erased.emplace_back().splice(m_erased.back().end(), strokes);
  }
  m_done.push_back(step);
  return true;
}

void CStrokeHistory::DropRedo() {
  for (CQarelObject* stroke : m_undone) delete stroke;
  m_undone.clear();
}

void CStrokeHistory::Clear() {
  DropRedo();
  for (StrokeList& erased : m_erased)
    for (CQarelObject* stroke : erased) delete stroke;
  m_erased.clear();
  m_done.clear();
}
