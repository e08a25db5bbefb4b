#include "cli/JsonLine.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/Messages.h"
#include "base/CodePage.h"

namespace vt {

namespace {
bool IsGbkTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
}  // namespace

void AppendJsonString(std::string& out, const char* text) {
  out += '"';
  if (!text) text = "";
  const size_t len = strlen(text);
  for (size_t pos = 0; pos < len; ++pos) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text + pos);
    if (IsLeadByte(*p)) {
      // A double-byte character is copied whole: its trail byte may be '\'
      // and must not be escaped as if it stood alone. A lead byte without a
      // real trail byte after it (outside input can hold anything) is no
      // character: a GBK reader would take the quote, backslash or control
      // byte after it as its trail, so it is written as '?' instead.
      if (pos + 1 < len && IsGbkTrailByte(static_cast<unsigned char>(text[pos + 1]))) {
        out.append(text + pos, 2);
        ++pos;
      } else {
        out += '?';
      }
      continue;
    }
    switch (*p) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (*p < 0x20) {
          char esc[8];
          snprintf(esc, sizeof esc, "\\u%04x", *p);
          out += esc;
        } else {
          out += static_cast<char>(*p);
        }
    }
  }
  out += '"';
}

std::string MessageJson(uint32_t message, uint64_t wParam, int64_t lParam, const char* text) {
  std::string line = "{\"msg\":";
  const char* name = AppMessageName(message);
  if (name) {
    AppendJsonString(line, name);
  } else {
    line += std::to_string(message);
  }
  line += ",\"wParam\":" + std::to_string(wParam) + ",\"lParam\":" + std::to_string(lParam);
  if (text) {
    line += ",\"text\":";
    AppendJsonString(line, text);
  }
  return line + "}";
}

void JsonObject::Key(const char* key) {
  body_ += body_.empty() ? "{" : ",";
  AppendJsonString(body_, key);
  body_ += ':';
}

JsonObject& JsonObject::Add(const char* key, const char* value) {
  Key(key);
  AppendJsonString(body_, value);
  return *this;
}

JsonObject& JsonObject::Add(const char* key, int64_t value) {
  Key(key);
  body_ += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::Add(const char* key, double value, int decimals) {
  Key(key);
  if (!std::isfinite(value)) {
    body_ += "null";
    return *this;
  }
  char number[64];
  snprintf(number, sizeof number, "%.*f", decimals, value);
  body_ += number;
  return *this;
}

JsonObject& JsonObject::AddRaw(const char* key, const std::string& json) {
  Key(key);
  body_ += json;
  return *this;
}

}  // namespace vt
