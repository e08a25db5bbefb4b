// CSkinBuilder: turns a layout document into a tree of controls. The
// document's "Image", "Font" and "Default" elements go to the manager, the
// "Window" root's attributes to the manager's window, and every other
// element becomes a control through the tag table (ControlFactory_win.cpp),
// then the IDialogBuilderCallback; "Include" builds another document in
// place.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/Core/SkinXml.h"
#include "ui/Core/UIDefs.h"

// The control class of a tag (letter case matters), or null.
CControlUI* CreateControlByTag(const char* tag);

class CSkinBuilder {
 public:
  // source: a resource id (MAKEINTRESOURCEA, read from resources of type),
  // text beginning with '<', or a file name (skin archive or skin path).
  CControlUI* Create(const char* source, const char* type = nullptr,
                     IDialogBuilderCallback* callback = nullptr, CUIManager* manager = nullptr,
                     CControlUI* parent = nullptr);
  // Builds again from the document already loaded.
  CControlUI* Create(IDialogBuilderCallback* callback = nullptr, CUIManager* manager = nullptr,
                     CControlUI* parent = nullptr);
  const CSkinXml& GetDocument() const { return xml_; }
  const char* GetLastErrorMessage() const { return xml_.GetLastErrorMessage(); }

  // Controls nest at most kMaxNesting deep; a deeper document fails the
  // build (the building, placing and painting of a tree recurse once a
  // level). One build makes at most kMaxIncludes includes, its included
  // documents' included: a document that includes itself count times would
  // otherwise build count^16 times.
  static constexpr int kMaxNesting = 64;
  static constexpr int kMaxIncludes = 1000;

 private:
  void ApplyResources(CSkinXmlNode root, CUIManager* manager);
  CControlUI* Parse(CSkinXmlNode node, CControlUI* parent, CUIManager* manager);
  void Include(CSkinXmlNode node, CControlUI* parent, CUIManager* manager, CControlUI*& first);
  void ApplyAttributes(CSkinXmlNode node, CControlUI* control, const char* tag, CUIManager* manager);

  CSkinXml xml_;
  const char* resourceType_ = nullptr;
  IDialogBuilderCallback* callback_ = nullptr;
  bool failed_ = false;
  int depth_ = 0;  // of Include; a document that includes itself stops at kMaxIncludeDepth
  static constexpr int kMaxIncludeDepth = 16;
  int nesting_ = 0;                      // of the control being built, included documents counted in
  int includesLeft_ = 0;                 // of this build, when it is the top-level one
  int* includeBudget_ = &includesLeft_;  // the top-level build's count
  std::vector<CControlUI*> topLevel_;
};
