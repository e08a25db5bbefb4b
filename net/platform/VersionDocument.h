// Reading the platform's version document: the attributes "ver", "url" and
// "autoupdate" of the document's first element, whatever its name. The XML
// parser is used here only, so replacing it touches this file alone.
#pragma once

#include <string>

struct VersionDocument {
  std::string version;     // "ver"
  std::string url;         // "url"
  std::string autoUpdate;  // "autoupdate"
};

// False when the text holds no element (empty, malformed, or only a
// declaration or comments); a missing attribute reads as empty text.
bool ReadVersionDocument(const char* text, VersionDocument* out);
