// CEditWnd: the native edit window of a CEditUI (class "EditWnd", a
// superclass of "Edit"), a child of the skinned window over the control's
// text area. It deletes itself when its window is gone.
#pragma once

#include "ui/Core/WindowWnd.h"

class CEditUI;

class CEditWnd : public CWindowWnd {
 public:
  bool Open(CEditUI* owner);
  void Detach();  // the owner lets go: destroy the window
  void SetText(const char* text);
  void SelectAll();
  void Move(const RECT& rc);

 protected:
  const char* WindowClassName() const override { return "EditWnd"; }
  const char* SuperClassName() const override { return "Edit"; }
  LRESULT RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowDestroyed() override;

 private:
  void CopyTextToOwner();

  CEditUI* owner_ = nullptr;
  HBRUSH brush_ = nullptr;
  bool settingText_ = false;
};
