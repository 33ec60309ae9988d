// The palette's push button: draws itself from slices of a shared skin
// picture (normal, hover, pressed) and reports a click to its parent.
#pragma once

#include "platform/framework/framework.h"

class CCoolButton : public CButton {
 public:
  CCoolButton() = default;

  // Borrows pSkinDC; the slices all have the given size. Does not repaint.
  void SetSkin(CDC* pSkinDC, int xNormal, int yNormal, int xHover, int yHover, int xPressed, int yPressed, int nWidth,
               int nHeight);
  // Moves the button in its parent's client area and sizes it to its slices.
  void SetPosition(int x, int y);
  void DrawCaption(CDC* pDC, const RECT* prc);

  void DrawItem(DRAWITEMSTRUCT* drawItem) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintLook(CDC* pDC, const RECT& rcSlice);
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnLButtonDown();
  void OnMouseMove(POINT point);
  void OnMouseLeave();
  void OnLButtonUp(POINT point);

  BOOL m_bPressed = FALSE;
  COLORREF m_crText = RGB(31, 100, 178);
  RECT m_rcNormal;
  CDC* m_pSkinDC = nullptr;
  RECT m_rcHover;
  RECT m_rcPressed;
};
