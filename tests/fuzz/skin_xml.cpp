// Fuzz target: the layout reader over any bytes, then a walk of every node.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ui/Core/SkinXml.h"

namespace {
size_t Walk(CSkinXmlNode node) {
  size_t sum = 0;
  // Depth-first over siblings and children without recursion.
  while (node.IsValid()) {
    sum += strlen(node.GetName()) + strlen(node.GetText());
    for (int i = 0; i < node.GetAttributeCount(); ++i)
      sum += strlen(node.GetAttributeName(i)) + strlen(node.GetAttributeValue(i));
    if (node.GetAttributeValue("name")) ++sum;
    if (node.HasChildren()) {
      node = node.GetChild();
      continue;
    }
    while (node.IsValid() && !node.GetSibling().IsValid()) node = node.GetParent();
    if (node.IsValid()) node = node.GetSibling();
  }
  return sum;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CSkinXml doc;
  if (doc.LoadFromText(reinterpret_cast<const char*>(data), size)) {
    Walk(doc.GetRoot());
  } else {
    strlen(doc.GetLastErrorMessage());
    strlen(doc.GetLastErrorLocation());
  }
  CSkinXml bytes;
  bytes.LoadFromBytes(reinterpret_cast<const char*>(data), size, size % 3);
  return 0;
}
