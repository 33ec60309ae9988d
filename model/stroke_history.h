// The steps that changed a page's strokes, oldest first, and the steps taken
// back, for redo. A step costs one pointer: an appended stroke is recorded as
// the stroke itself (the page's list holds it), an erased page as a null entry
// whose strokes wait here, moved and not copied, until the erase is taken back.
#pragma once

#include <list>
#include <vector>

#include "model/qarel_object.h"

class CStrokeHistory {
 public:
  using StrokeList = std::list<CQarelObject*>;

  CStrokeHistory() = default;
  ~CStrokeHistory();
  CStrokeHistory(const CStrokeHistory&) = delete;
  CStrokeHistory& operator=(const CStrokeHistory&) = delete;

  // The stroke was appended to the page's strokes. Drops every redo step.
  void StrokeAppended(CQarelObject* stroke);
  // Moves every stroke off the page into the history as one step; an empty
  // page changes nothing and makes no step. True when strokes were erased.
  bool Erase(StrokeList& strokes);
  // Takes the newest step back on the page's strokes; false when there is none.
  bool Undo(StrokeList& strokes);
  // Puts the step taken back last on the page's strokes again; false when there is none.
  bool Redo(StrokeList& strokes);
  // Forgets every step and deletes the strokes only the history holds.
  void Clear();

 private:
  void DropRedo();

  std::vector<CQarelObject*> m_done;    // the appended stroke, or nullptr: an erase
  std::vector<StrokeList> m_erased;     // the strokes of each erase in m_done, owned
  std::vector<CQarelObject*> m_undone;  // a stroke taken back (owned), or nullptr: an erase taken back
};
