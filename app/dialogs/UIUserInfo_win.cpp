#include "app/dialogs/UIUserInfo_win.h"

#include "model/ReportForm.h"
#include "ui/controls/ControlUI.h"

UIUserInfo::UIUserInfo(HWND owner) {
  CreateWnd(owner, "msgbox",
            WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_DLGFRAME | WS_SYSMENU,
            WS_EX_TOOLWINDOW, 0, 0, 0, 0);
  CenterOnOwner();
}

void UIUserInfo::OnClickNotify(UINotification& msg) {
  if (!msg.sender) return;
  const CUIString& name = msg.sender->GetName();
  if (name == "ButtonUISave") {
    CControlUI* bandwidth = manager_.FindControlByName("EditBandWidth");
    CControlUI* info = manager_.FindControlByName("EditUserInfo");
    lineBandwidth = bandwidth ? bandwidth->GetText() : CUIString();
    userInfo = info ? info->GetText() : CUIString();
    if (vt::AcceptLineBandwidth(lineBandwidth.GetData())) {
      CloseWnd(1);
      return;
    }
    if (CControlUI* tips = manager_.FindControlByName("Tips")) tips->SetVisible(true);
    if (info) info->SetFocus();
  } else if (name == "ButtonUICancel") {
    CloseWnd(0);
  } else {
    WindowImplBase::OnClickNotify(msg);
  }
}

// Escape used to close this window as accepted, so the report went out with
// fields that "ButtonUISave" never checked (empty, or a refused bandwidth).
// It cancels now, like "ButtonUICancel"; Return still does nothing.
LRESULT UIUserInfo::OnDefaultKey(WPARAM key, bool& handled) {
  if (key == VK_ESCAPE) {
    CloseWnd(0);
    handled = true;
  }
  return 0;
}

bool RunUserInfoWindow(HWND owner, std::string* userInfo, std::string* lineBandwidth) {
  UIUserInfo window(owner);
  bool accepted = window.RunModal() == 1;
  // A quit message ends the modal loop with the window still there.
  if (IsWindow(window.GetHandle())) DestroyWindow(window.GetHandle());
  if (accepted) {
    if (userInfo) *userInfo = window.userInfo.GetData();
    if (lineBandwidth) *lineBandwidth = window.lineBandwidth.GetData();
  }
  return accepted;
}
