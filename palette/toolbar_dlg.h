// The tool palette: a shaped, skinned pop-up owned by the board, one button
// per board command. A click posts the button's commands to the board; the
// palette is dragged by its background, folds into the floating icon at its
// bottom strip and unfolds again when the icon is clicked.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "palette/cool_button.h"
#include "palette/icon_dialog.h"
#include "platform/framework/framework.h"

class CToolbarDlg : public CDialog {
 public:
  CToolbarDlg();
  ~CToolbarDlg() override;

  // Shows a line width (3, 5, 10 or 15) on the line-width button from its
  // next repaint; any other width changes nothing.
  void SetLineWidth(int nWidth);
  void SetupButtons();
  // The region of every pixel of the bitmap whose colour lies outside
  // [crKey, crKey + crTolerance] per component; nullptr without a bitmap or
  // when the work surfaces cannot be made. The caller owns the region.
  static HRGN BuildShapeRegion(HBITMAP hBitmap, COLORREF crKey, COLORREF crTolerance);

  BOOL OnInitDialog() override;
  void OnCancel() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // A look's corners in the skin sheet, and the size shared by the three.
  struct Slices {
    POINT normal;
    POINT hover;
    POINT pressed;
    SIZE size;
  };
  struct BoardPost {
    WPARAM code;
    LPARAM argument;
  };
  // A button: its looks, its place on the palette and what a click posts to the board.
  struct ButtonEntry {
    int id;
    CCoolButton CToolbarDlg::*button;
    Slices slices;
    POINT place;
    std::array<BoardPost, 2> posts;
    std::size_t postCount;
  };
  // At the 1x artwork's scale.
  static std::span<const ButtonEntry> Buttons();
  // How many times the 1x layout the palette is drawn (ArtworkScale).
  int Scale() const { return m_nScale; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  void OnDestroy();
  LRESULT OnEraseBkgnd(CDC* pDC);
  void OnLButtonDown(POINT point);
  void OnTimer(UINT_PTR nIDEvent);
  bool OnButtonCommand(int id);
  void Fold();

  CDC m_dcSkin;
  CBitmap m_bmpSkin;
  CCoolButton m_btnExit;
  CCoolButton m_btnWindow;
  CCoolButton m_btnMarker;
  CCoolButton m_btnLineWidth;
  CCoolButton m_btnBigErase;
  CCoolButton m_btnErase;
  CCoolButton m_btnZoomOut;
  CCoolButton m_btnZoomIn;
  CCoolButton m_btnSave;
  CCoolButton m_btnBackground;
  CCoolButton m_btnBluePen;
  CCoolButton m_btnRedPen;
  CCoolButton m_btnGreenPen;
  CIconDialog m_wndIcon;
  int m_nScale = 1;
};
