#include "net/platform/VersionDocument.h"

#include <tinyxml.h>

namespace {
std::string AttributeText(const TiXmlElement* element, const char* name) {
  const char* value = element->Attribute(name);
  return value ? value : "";
}
}  // namespace

bool ReadVersionDocument(const char* text, VersionDocument* out) {
  if (!text || !*text || !out) return false;
  TiXmlDocument doc;
  doc.Parse(text, nullptr, TIXML_ENCODING_UNKNOWN);
  const TiXmlElement* first = doc.FirstChildElement();
  if (!first) return false;
  out->version = AttributeText(first, "ver");
  out->url = AttributeText(first, "url");
  out->autoUpdate = AttributeText(first, "autoupdate");
  return true;
}
