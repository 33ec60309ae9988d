#include "platform/framework/dialog.h"

#include "platform/framework/resources.h"
#include "platform/framework/window_system.h"

using plumet::framework::WindowRecord;
using plumet::framework::WindowSystem;

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (!pDX || !pDX->m_pDlgWnd || control.m_hWnd) return;
  control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

BOOL CDialog::CreateFromTemplate(UINT templateId, CWnd* parent) {
  const std::optional<plumet::framework::DialogTemplate> dialog = plumet::framework::LoadDialogTemplate(templateId);
  if (!dialog || m_hWnd) return FALSE;
  WindowSystem& system = WindowSystem::Get();
  WindowRecord record;
  // Shown only once set up, as the dialog manager does.
  record.style = dialog->style & ~WS_VISIBLE;
  record.exStyle = dialog->exStyle;
  record.rect = {0, 0, plumet::framework::DialogUnitsToPixelsX(dialog->cx),
                 plumet::framework::DialogUnitsToPixelsY(dialog->cy)};
  record.text = dialog->caption;
  record.templateId = templateId;
  if (parent && parent->m_hWnd) record.owner = system.TopLevelOf(parent->m_hWnd);
  AttachHandle(system.Create(record));
  for (const plumet::framework::ControlTemplate& control : dialog->controls) {
    WindowRecord child;
    child.parent = m_hWnd;
    child.id = control.id;
    child.text = control.text;
    child.style = control.style;
    child.wantsDoubleClicks = true;  // the button class asks for double clicks
    const int x = plumet::framework::DialogUnitsToPixelsX(control.x);
    const int y = plumet::framework::DialogUnitsToPixelsY(control.y);
    child.rect = {x, y, x + plumet::framework::DialogUnitsToPixelsX(control.cx),
                  y + plumet::framework::DialogUnitsToPixelsY(control.cy)};
    system.Create(child);
  }
  SendMessage(WM_INITDIALOG, 0, 0);
  if (m_hWnd && (dialog->style & WS_VISIBLE)) ShowWindow(SW_SHOW);
  return m_hWnd ? TRUE : FALSE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  modal_ = false;
  return CreateFromTemplate(templateId, parent ? parent : m_pParentWnd);
}

INT_PTR CDialog::DoModal() {
  modal_ = true;
  ended_ = false;
  if (!CreateFromTemplate(m_nIDTemplate, m_pParentWnd)) return -1;
  WindowSystem& system = WindowSystem::Get();
  if (auto* record = system.Find(m_hWnd); record && record->native && system.Backend())
    system.Backend()->Focus(record->native);
  INT_PTR result = -1;
  while (m_hWnd) {
    if (ended_) {
      result = result_;
      break;
    }
    // A quit request ends this loop; it stays set so that enclosing loops end too.
    if (!system.PumpMessage()) break;
  }
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  return result;
}

void CDialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  if (!modal_ && m_hWnd) ::DestroyWindow(m_hWnd);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange;
  exchange.m_pDlgWnd = this;
  exchange.m_bSaveAndValidate = saveAndValidate;
  DoDataExchange(&exchange);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        OnOK();
        return 0;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return 0;
      }
      return 0;
    case WM_CLOSE:
      // Closing a dialog is its cancel command.
      OnCancel();
      return 0;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// Enter and Escape are the dialog's OK and Cancel commands.
BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  if (msg->hwnd != m_hWnd && ::GetParent(msg->hwnd) != m_hWnd) return FALSE;
  if (msg->wParam == VK_RETURN) {
    SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    return TRUE;
  }
  if (msg->wParam == VK_ESCAPE) {
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    return TRUE;
  }
  return FALSE;
}
