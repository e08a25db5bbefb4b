// The tag → class table of the skin builder. A control class joins the
// vocabulary with one line here.
#include <cstring>

#include "ui/Core/SkinBuilder.h"
#include "ui/controls/ControlUI.h"
#include "ui/layouts/ContainerUI.h"

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

#define VT_TAG(text, cls) {text, sizeof(text) - 1, &Make<cls>}
const TagEntry kTags[] = {
    VT_TAG("Control", CControlUI),
    VT_TAG("Container", CContainerUI),
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
