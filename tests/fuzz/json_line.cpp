// Fuzz target: JSON lines of veltrane-cli with texts of any bytes. The line
// is read back the way a consumer reads it, as GBK: a lead byte 0x81-0xFE
// with a trail byte 0x40-0xFE (not 0x7F) is one character, every other byte
// stands alone. Read so, every string must be a well-formed JSON string
// whose unescaped characters give the text back, and the objects must be
// well-formed JSON objects.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/JsonLine.h"
#include "tests/fuzz/support/FuzzInput.h"

namespace {

bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Reads one JSON string at s[pos] ('"' expected); on success pos is past its
// closing quote and out holds its bytes, escapes resolved (\uXXXX below
// 0x100 as that byte).
bool ReadString(const std::string& s, size_t& pos, std::string& out) {
  out.clear();
  if (pos >= s.size() || s[pos] != '"') return false;
  ++pos;
  while (pos < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[pos]);
    if (IsLead(c) && pos + 1 < s.size() && IsTrail(static_cast<unsigned char>(s[pos + 1]))) {
      out.append(s, pos, 2);
      pos += 2;
      continue;
    }
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c < 0x20) return false;  // raw control characters are not allowed
    if (c != '\\') {
      out += static_cast<char>(c);
      ++pos;
      continue;
    }
    if (pos + 1 >= s.size()) return false;
    char e = s[pos + 1];
    pos += 2;
    switch (e) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case '/': out += '/'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'u': {
        if (pos + 4 > s.size()) return false;
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
          char h = s[pos + i];
          v <<= 4;
          if (h >= '0' && h <= '9') v |= h - '0';
          else if (h >= 'a' && h <= 'f') v |= h - 'a' + 10;
          else if (h >= 'A' && h <= 'F') v |= h - 'A' + 10;
          else return false;
        }
        pos += 4;
        if (v > 0xFF) return false;  // the writer never escapes more than a byte
        out += static_cast<char>(v);
        break;
      }
      default: return false;
    }
  }
  return false;
}

// What the consumer must get back for a text: the text itself, except that
// a lead byte without a real trail byte after it may come back as '?'.
bool SameText(const std::string& text, const std::string& back) {
  if (back == text) return true;
  if (back.size() != text.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (back[i] == text[i]) {
      if (IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
          IsTrail(static_cast<unsigned char>(text[i + 1]))) {
        if (back[i + 1] != text[i + 1]) return false;
        ++i;
      }
      continue;
    }
    if (back[i] != '?' || !IsLead(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

bool ReadNumber(const std::string& s, size_t& pos) {
  size_t start = pos;
  if (pos < s.size() && s[pos] == '-') ++pos;
  while (pos < s.size() && ((s[pos] >= '0' && s[pos] <= '9') || s[pos] == '.')) ++pos;
  return pos > start;
}

// {"key":value,...} with string, number or null values.
bool IsObject(const std::string& s) {
  size_t pos = 0;
  if (s.size() < 2 || s[pos++] != '{') return false;
  if (s == "{}") return true;
  std::string tmp;
  for (;;) {
    if (!ReadString(s, pos, tmp)) return false;
    if (pos >= s.size() || s[pos++] != ':') return false;
    if (pos < s.size() && s[pos] == '"') {
      if (!ReadString(s, pos, tmp)) return false;
    } else if (s.compare(pos, 4, "null") == 0) {
      pos += 4;
    } else if (!ReadNumber(s, pos)) {
      return false;
    }
    if (pos >= s.size()) return false;
    char c = s[pos++];
    if (c == '}') return pos == s.size();
    if (c != ',') return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  uint32_t message = in.U32();
  std::string key = in.Until('\0');
  std::string text = in.Until('\0');

  std::string out;
  vt::AppendJsonString(out, text.c_str());
  size_t pos = 0;
  std::string back;
  FUZZ_CHECK(ReadString(out, pos, back));
  FUZZ_CHECK(pos == out.size());
  FUZZ_CHECK(SameText(text, back));

  FUZZ_CHECK(IsObject(vt::MessageJson(message, message * 7ull, -static_cast<int64_t>(message), text.c_str())));
  vt::JsonObject o;
  o.Add(key.c_str(), text.c_str()).Add(text.c_str(), static_cast<int64_t>(message));
  o.Add(key.c_str(), static_cast<double>(static_cast<int32_t>(message)) / 3.0, static_cast<int>(message % 12));
  FUZZ_CHECK(IsObject(o.Str()));
  return 0;
}
