// CContainerUI (tag "Container"): owns its children (deleting them when
// removed or when it is deleted), paints them in order over its own
// painting, hit-tests them from the last to the first, and places every
// visible non-floating child over its inset area (the children overlap).
// Floating children are placed at their fixed position inside the item
// rectangle. Layouts derive from it and override PlaceAt.
#pragma once

#include <vector>

#include "ui/controls/ControlUI.h"

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  const char* GetClass() const override;          // "ContainerUI"
  void* GetInterface(const char* name) override;  // "Container", "IContainer"

  // IContainerUI
  CControlUI* ChildAt(int index) const override;
  int IndexOf(CControlUI* control) const override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool InsertAt(CControlUI* control, int index) override;
  bool RemoveChild(CControlUI* control) override;
  bool RemoveChildAt(int index) override;
  void RemoveAll() override;

  const RECT& GetInset() const { return inset_; }
  void SetInset(const RECT& rc);
  int GetChildPadding() const { return childPadding_; }
  void SetChildPadding(int padding);
  bool IsMouseChildEnabled() const { return mouseChild_; }
  void SetMouseChildEnabled(bool on) { mouseChild_ = on; }

  void SetManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
  CControlUI* FindControl(FindControlProc proc, void* data, unsigned flags) override;
  void SetVisible(bool visible) override;
  void SetInternVisible(bool visible) override;
  void PlaceAt(const RECT& rc) override;
  void DoPaint(HDC dc, const RECT& paint) override;
  void ApplyAttribute(const char* name, const char* value) override;

 protected:
  // The inset area: item rectangle minus inset.
  RECT InsetArea() const;
  // Places a floating child inside this container's item rectangle.
  void PlaceFloating(CControlUI* child);
  // Paints the visible children that meet paint, clipped to clip.
  void PaintChildren(HDC dc, const RECT& paint, const RECT& clip);

  std::vector<CControlUI*> items_;
  RECT inset_ = {0, 0, 0, 0};
  int childPadding_ = 0;
  bool mouseChild_ = true;
  bool deleting_ = false;
};
