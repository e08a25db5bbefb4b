// Fuzz target: attribute strings and the value syntax of every value.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/Core/AttributeString.h"
#include "ui/Core/SkinValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);  // stops at an embedded zero, like a C string
  vt::ForEachAttribute(
      text.c_str(),
      [](void*, const char* name, const char* value) {
        vt::ParseRect(value);
        vt::ParseSize(value);
        vt::ParseColor(value);
        vt::ParseInt(value);
        vt::ParseBool(name);
      },
      nullptr);
  return 0;
}
