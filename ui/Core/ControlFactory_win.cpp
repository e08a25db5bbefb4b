// The tag → class table of the skin builder. A control class joins the
// vocabulary with one line here.
#include <cstring>

#include "ui/Core/SkinBuilder.h"
#include "ui/controls/ControlUI.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/DialUI.h"
#include "ui/controls/EditUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/ListElementsUI.h"
#include "ui/controls/ListUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TextUI.h"
#include "ui/layouts/ContainerUI.h"
#include "ui/layouts/HorizontalLayoutUI.h"
#include "ui/layouts/TabLayoutUI.h"
#include "ui/layouts/VerticalLayoutUI.h"

namespace {

template <typename T>
CControlUI* Make() {
  return new T;
}

struct TagEntry {
  const char* tag;
  size_t length;
  CControlUI* (*create)();
};

#define VT_TAG(text, cls) \
  { text, sizeof(text) - 1, &Make<cls> }
const TagEntry kTags[] = {
    VT_TAG("Control", CControlUI),
    VT_TAG("Container", CContainerUI),
    VT_TAG("Label", CLabelUI),
    VT_TAG("Text", CTextUI),
    VT_TAG("Button", CButtonUI),
    VT_TAG("Option", COptionUI),
    VT_TAG("Progress", CProgressUI),
    VT_TAG("Dial", CDialUI),
    VT_TAG("Edit", CEditUI),
    VT_TAG("Combo", CComboUI),
    VT_TAG("VerticalLayout", CVerticalLayoutUI),
    VT_TAG("HorizontalLayout", CHorizontalLayoutUI),
    VT_TAG("TabLayout", CTabLayoutUI),
    VT_TAG("List", CListUI),
    VT_TAG("ListContainerElement", CListContainerElementUI),
    VT_TAG("ListHeader", CListHeaderUI),
    VT_TAG("ListHeaderItem", CListHeaderItemUI),
    VT_TAG("ListLabelElement", CListLabelElementUI),
    VT_TAG("ListTextElement", CListTextElementUI),
    VT_TAG("ScrollBar", CScrollBarUI),
};
#undef VT_TAG

}  // namespace

CControlUI* CreateControlByTag(const char* tag) {
  if (!tag) return nullptr;
  size_t len = strlen(tag);
  for (const TagEntry& e : kTags) {
    if (e.length == len && memcmp(e.tag, tag, len) == 0) return e.create();
  }
  return nullptr;
}
