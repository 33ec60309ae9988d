// Dialogs made from the built-in templates: modal (DoModal runs the message
// loop until the dialog ends or a quit request arrives) and modeless.
#pragma once

#include "platform/framework/wnd.h"

class CDataExchange {
 public:
  CWnd* m_pDlgWnd = nullptr;
  BOOL m_bSaveAndValidate = FALSE;
};

// Binds the template's control with this id to a window object.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  virtual INT_PTR DoModal();
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  void EndDialog(int result);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

 private:
  BOOL CreateFromTemplate(UINT templateId, CWnd* parent);
  bool modal_ = false;
  bool ended_ = false;
  int result_ = 0;
};
