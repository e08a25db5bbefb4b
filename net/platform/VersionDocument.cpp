#include "net/platform/VersionDocument.h"

#include <tinyxml.h>

#include <cstring>

namespace {

// The XML parser descends recursively, one level per open element, both when
// it reads and when it frees the tree: a reply of nothing but "<a><a><a>..."
// (the text reply may be up to a megabyte) would run the thread out of stack.
// Before the parser sees a text, its deepest nesting is measured with a scan
// that counts every start tag not closed by "/>" as one level and skips
// comments, CDATA sections, declarations and quoted attribute values the way
// the parser does; anything it cannot tell from a start tag counts as one, so
// it never measures less than the parser would nest.
size_t NestingDepth(const char* text) {
  size_t depth = 0, deepest = 0;
  const char* p = text;
  auto skipPast = [&p](const char* end) {
    const char* found = strstr(p, end);
    p = found ? found + strlen(end) : p + strlen(p);
  };
  while ((p = strchr(p, '<')) != nullptr) {
    if (strncmp(p, "<!--", 4) == 0) {
      p += 4;
      skipPast("-->");
    } else if (strncmp(p, "<![CDATA[", 9) == 0) {
      p += 9;
      skipPast("]]>");
    } else if (p[1] == '?' || p[1] == '!') {
      p += 2;
      skipPast(">");
    } else if (p[1] == '/') {
      if (depth > 0) --depth;
      p += 2;
      skipPast(">");
    } else {
      // A start tag: up to its '>' outside quotes; "/>" closes it at once.
      ++p;
      char quote = 0;
      char last = 0;
      for (; *p; ++p) {
        if (quote) {
          if (*p == quote) quote = 0;
        } else if (*p == '"' || *p == '\'') {
          quote = *p;
        } else if (*p == '>') {
          break;
        } else if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') {
          last = *p;
        }
      }
      if (last != '/' || !*p) {
        if (++depth > deepest) deepest = depth;
      }
      if (*p) ++p;
    }
  }
  return deepest;
}

std::string AttributeText(const TiXmlElement* element, const char* name) {
  const char* value = element->Attribute(name);
  return value ? value : "";
}
}  // namespace

bool ReadVersionDocument(const char* text, VersionDocument* out) {
  if (!text || !*text || !out) return false;
  if (NestingDepth(text) > kVersionDocumentDepthLimit) return false;
  // In UTF-8 mode (a byte-order mark or an XML declaration chooses it) the
  // parser steps over a whole UTF-8 sequence, as long as its lead byte says,
  // without looking for the end of the text: a text ending in the lead byte
  // of a 3-byte sequence sent it two bytes past the terminator. It reads a
  // copy followed by three more zero bytes, enough for the longest sequence.
  std::string padded(text);
  padded.append(3, '\0');
  TiXmlDocument doc;
  doc.Parse(padded.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
  const TiXmlElement* first = doc.FirstChildElement();
  if (!first) return false;
  out->version = AttributeText(first, "ver");
  out->url = AttributeText(first, "url");
  out->autoUpdate = AttributeText(first, "autoupdate");
  return true;
}
