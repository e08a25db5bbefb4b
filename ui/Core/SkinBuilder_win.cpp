#include "ui/Core/SkinBuilder.h"

#include <cstdlib>
#include <cstring>

#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

namespace {

bool IsResourceElement(const char* tag) {
  return strcmp(tag, "Image") == 0 || strcmp(tag, "Font") == 0 || strcmp(tag, "Default") == 0;
}

bool LoadResourceText(CSkinXml& xml, const char* id, const char* type) {
  HINSTANCE instance = CUIManager::GetInstance();
  HRSRC res = FindResourceA(instance, id, type);
  HGLOBAL global = res ? LoadResource(instance, res) : nullptr;
  DWORD size = res ? SizeofResource(instance, res) : 0;
  const char* bytes = global ? static_cast<const char*>(LockResource(global)) : nullptr;
  if (!bytes) {
    xml.LoadFromBytes(nullptr, 0, CSkinXml::kUtf8);  // records "File is empty"
    return false;
  }
  return xml.LoadFromBytes(bytes, size, CSkinXml::kUtf8);
}

}  // namespace

CControlUI* CSkinBuilder::Create(const char* source, const char* type, IDialogBuilderCallback* callback,
                                 CUIManager* manager, CControlUI* parent) {
  bool loaded = false;
  if (IS_INTRESOURCE(source)) {
    resourceType_ = type;
    loaded = LoadResourceText(xml_, source, type);
  } else if (source && source[0] == '<') {
    loaded = xml_.LoadFromText(source);
  } else {
    loaded = xml_.LoadFromFile(source ? source : "");
  }
  if (!loaded) return nullptr;
  return Create(callback, manager, parent);
}

CControlUI* CSkinBuilder::Create(IDialogBuilderCallback* callback, CUIManager* manager, CControlUI* parent) {
  CSkinXmlNode root = xml_.GetRoot();
  if (!root.IsValid()) return nullptr;
  callback_ = callback;
  failed_ = false;
  topLevel_.clear();
  if (depth_ == 0) {
    nesting_ = 0;
    includesLeft_ = kMaxIncludes;
    includeBudget_ = &includesLeft_;
  }
  if (manager) ApplyResources(root, manager);
  if (manager && manager->GetPaintWindow() && strcmp(root.GetName(), "Window") == 0) {
    for (int i = 0; i < root.GetAttributeCount(); ++i)
      manager->ApplyWindowAttribute(root.GetAttributeName(i), root.GetAttributeValue(i));
  }
  CControlUI* first = Parse(root, parent, manager);
  if (failed_) {
    for (CControlUI* c : topLevel_) delete c;
    return nullptr;
  }
  // Only the first top-level control is the result; others have no owner.
  for (CControlUI* c : topLevel_) {
    if (c != first) delete c;
  }
  return first;
}

void CSkinBuilder::ApplyResources(CSkinXmlNode root, CUIManager* manager) {
  for (CSkinXmlNode n = root.GetChild(); n.IsValid(); n = n.GetSibling()) {
    const char* tag = n.GetName();
    if (strcmp(tag, "Image") == 0) {
      const char* name = n.GetAttributeValue("name");
      const char* restype = n.GetAttributeValue("restype");
      const char* mask = n.GetAttributeValue("mask");
      if (name) manager->AddImage(name, restype, mask ? vt::ParseColor(mask) : 0);
    } else if (strcmp(tag, "Font") == 0) {
      const char* size = n.GetAttributeValue("size");
      int index = manager->AddFont(n.GetAttributeValue("name"), size ? vt::ParseInt(size) : 12,
                                   vt::ParseBool(n.GetAttributeValue("bold")),
                                   vt::ParseBool(n.GetAttributeValue("underline")),
                                   vt::ParseBool(n.GetAttributeValue("italic")));
      if (index >= 0 && vt::ParseBool(n.GetAttributeValue("default"))) manager->SetDefaultFontIndex(index);
    } else if (strcmp(tag, "Default") == 0) {
      const char* name = n.GetAttributeValue("name");
      const char* value = n.GetAttributeValue("value");
      if (name && value) manager->AddDefaultAttributeList(name, value);
    }
  }
}

void CSkinBuilder::Include(CSkinXmlNode node, CControlUI* parent, CUIManager* manager, CControlUI*& first) {
  const char* countText = node.GetAttributeValue("count");
  const char* source = node.GetAttributeValue("source");
  if (!source || depth_ >= kMaxIncludeDepth) return;
  int count = countText ? vt::ParseInt(countText) : 1;
  for (int i = 0; i<count&& * includeBudget_> 0; ++i) {
    --*includeBudget_;
    CSkinBuilder sub;
    sub.depth_ = depth_ + 1;
    sub.nesting_ = nesting_;
    sub.includeBudget_ = includeBudget_;
    CControlUI* built = resourceType_ ? sub.Create(MAKEINTRESOURCEA(vt::ParseInt(source)), resourceType_,
                                                   callback_, manager, parent)
                                      : sub.Create(source, nullptr, callback_, manager, parent);
    if (built && !first) first = built;
    if (built && !parent) topLevel_.push_back(built);
  }
}

void CSkinBuilder::ApplyAttributes(CSkinXmlNode node, CControlUI* control, const char* tag,
                                   CUIManager* manager) {
  if (manager) {
    // Fonts, images and colours resolve through the manager while attributes apply.
    control->SetManager(manager, control->GetParent(), false);
    const char* defaults = manager->GetDefaultAttributeList(tag);
    if (defaults) control->ApplyAttributeString(defaults);
  }
  int n = node.GetAttributeCount();
  for (int i = 0; i < n; ++i) control->SetLayoutAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
  if (manager) control->SetManager(nullptr, control->GetParent(), false);
}

CControlUI* CSkinBuilder::Parse(CSkinXmlNode node, CControlUI* parent, CUIManager* manager) {
  CControlUI* first = nullptr;
  for (CSkinXmlNode child = node.GetChild(); child.IsValid() && !failed_; child = child.GetSibling()) {
    const char* tag = child.GetName();
    if (IsResourceElement(tag)) continue;
    if (strcmp(tag, "Include") == 0) {
      Include(child, parent, manager, first);
      continue;
    }
    CControlUI* control = CreateControlByTag(tag);
    if (!control && callback_) control = callback_->CreateControl(tag);
    if (!control) continue;  // unknown tag: the element and its children are skipped
    if (child.HasChildren()) {
      if (nesting_ >= kMaxNesting) {
        failed_ = true;
      } else {
        ++nesting_;
        Parse(child, control, manager);
        --nesting_;
      }
    }
    if (failed_) {
      delete control;
      return nullptr;
    }
    if (parent) {
      IContainerUI* container = static_cast<IContainerUI*>(parent->GetInterface("IContainer"));
      if (!container) {
        delete control;
        failed_ = true;
        return nullptr;
      }
      if (!container->Add(control)) {
        delete control;
        continue;
      }
    } else {
      topLevel_.push_back(control);
    }
    ApplyAttributes(child, control, tag, manager);
    if (!first) first = control;
  }
  return first;
}
