// CTextUI (tag "Text"): a label drawn as word-wrapped lines, with text
// padding 2 at the left and right and up to 8 clickable links in markup:
// the hand cursor over a link, "link" (its number) when one is clicked.
#pragma once

#include "ui/controls/LabelUI.h"

class CTextUI : public CLabelUI {
 public:
  static constexpr int kMaxLinks = 8;
  CTextUI();
  const char* GetClass() const override;          // "TextUI"
  void* GetInterface(const char* name) override;  // "Text"
  unsigned GetControlFlags() const override;
  SIZE DesiredSize(SIZE available) override;
  void DoEvent(UIEvent& event) override;
  void PaintText(HDC dc) override;
  int GetLinkCount() const { return linkCount_; }
  const RECT& GetLinkRect(int i) const { return links_[i]; }
  const CUIString& GetLinkTarget(int i) const { return targets_[i]; }

 private:
  int LinkAt(POINT pt) const;

  RECT links_[kMaxLinks] = {};
  CUIString targets_[kMaxLinks];
  int linkCount_ = 0;
  int hoverLink_ = -1;
};
