// Reading the platform's version document: the attributes "ver", "url" and
// "autoupdate" of the document's first element, whatever its name. The XML
// parser is used here only, so replacing it touches this file alone.
#pragma once

#include <cstddef>
#include <string>

struct VersionDocument {
  std::string version;     // "ver"
  std::string url;         // "url"
  std::string autoUpdate;  // "autoupdate"
};

// The document is one element; one nested deeper than this many levels is
// refused unread (the parser would recurse once per level).
constexpr size_t kVersionDocumentDepthLimit = 32;

// False when the text holds no element (empty, malformed, or only a
// declaration or comments) or nests deeper than the limit; a missing
// attribute reads as empty text.
bool ReadVersionDocument(const char* text, VersionDocument* out);
