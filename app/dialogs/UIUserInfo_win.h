// UIUserInfo: asked for before the report is exported: free text about the
// user and the line's contracted bandwidth. "ButtonUISave" accepts (result
// 1) only a bandwidth that reads as a number above 0 with C atof; otherwise
// the hint shows and the window stays. "ButtonUICancel", Escape and the
// system close command cancel (result 0).
#pragma once

#include <windows.h>

#include <string>

#include "base/UIString.h"
#include "ui/Core/WindowImplBase.h"

class UIUserInfo : public WindowImplBase {
 public:
  // Creates the window owned by owner, visible and centred on it.
  explicit UIUserInfo(HWND owner);
  ~UIUserInfo() override = default;

  CUIString lineBandwidth;  // "EditBandWidth" at the last "ButtonUISave"
  CUIString userInfo;       // "EditUserInfo" at the last "ButtonUISave"

 protected:
  const char* WindowClassName() const override { return "UserInfo"; }
  void OnClickNotify(UINotification& msg) override;
  const char* SkinFolder() const override { return "skin\\"; }
  const char* SkinFileName() const override { return "user-info.xml"; }
  LRESULT OnDefaultKey(WPARAM key, bool& handled) override;
};

// RunUserInfoWindow runs this window modally and hands back its two texts
// when it was accepted (result 1).
bool RunUserInfoWindow(HWND owner, std::string* userInfo, std::string* lineBandwidth);
