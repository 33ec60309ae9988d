// The floating icon that stands in for the folded palette: a layered pop-up
// shaped by the alpha of the built-in picture. A press drags it; a press and
// release close together asks its owner to unfold through a timer.
#pragma once

#include <memory>

#include "platform/framework/framework.h"
#include "platform/graphics/gdiplus.h"

// The owner's timer that the icon starts on a click.
constexpr UINT_PTR IDT_UNFOLD = 2;
constexpr UINT kUnfoldDelayMs = 10;

class CIconDialog : public CDialog {
 public:
  CIconDialog();
  ~CIconDialog() override;

  BOOL PreTranslateMessage(MSG* msg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;

  // Puts the icon surface on screen at the window's current place.
  void PresentIcon();
  // A new picture decoded from a built-in resource; FALSE (and *ppImage
  // unchanged) when the resource is missing.
  static BOOL LoadImageResource(UINT nID, const char* pszType, Gdiplus::Image** ppImage);

 private:
  std::unique_ptr<Gdiplus::Image> m_pImage;
  CDC m_dcIcon;
  CBitmap m_bmpIcon;
  int m_nScale = 1;  // ArtworkScale
};
