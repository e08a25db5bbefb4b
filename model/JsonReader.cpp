#include "model/JsonReader.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/CodePage.h"

namespace vt {

const JsonValue* JsonValue::Get(const char* key) const {
  if (kind != kObject) return nullptr;
  for (const auto& m : members)
    if (m.first == key) return &m.second;
  return nullptr;
}

namespace {

class Parser {
 public:
  Parser(const char* data, size_t len) : p_(data), len_(len) {}

  bool Document(JsonValue* out, std::string* problem) {
    bool ok = Value(out, 0);
    if (ok) {
      Space();
      if (pos_ != len_) ok = Fail("text after the value");
    }
    if (!ok && problem) *problem = error_ + " at byte " + std::to_string(errorAt_);
    return ok;
  }

 private:
  bool Fail(const char* why) {
    if (error_.empty()) {
      error_ = why;
      errorAt_ = pos_;
    }
    return false;
  }

  void Space() {
    while (pos_ < len_ && (p_[pos_] == ' ' || p_[pos_] == '\t' || p_[pos_] == '\n' || p_[pos_] == '\r'))
      ++pos_;
  }

  bool Literal(const char* word) {
    size_t n = strlen(word);
    if (len_ - pos_ < n || memcmp(p_ + pos_, word, n) != 0) return Fail("unknown word");
    pos_ += n;
    return true;
  }

  bool Value(JsonValue* v, int depth) {
    if (depth > kJsonMaxDepth) return Fail("nested too deep");
    Space();
    if (pos_ >= len_) return Fail("value expected");
    char c = p_[pos_];
    switch (c) {
      case '{': return Object(v, depth);
      case '[': return Array(v, depth);
      case '"': v->kind = JsonValue::kString; return String(&v->text);
      case 't': v->kind = JsonValue::kBool, v->boolean = true; return Literal("true");
      case 'f': v->kind = JsonValue::kBool, v->boolean = false; return Literal("false");
      case 'n': v->kind = JsonValue::kNull; return Literal("null");
      default: return Number(v);
    }
  }

  bool Object(JsonValue* v, int depth) {
    v->kind = JsonValue::kObject;
    ++pos_;
    Space();
    if (pos_ < len_ && p_[pos_] == '}') return ++pos_, true;
    for (;;) {
      Space();
      if (pos_ >= len_ || p_[pos_] != '"') return Fail("key expected");
      std::string key;
      if (!String(&key)) return false;
      Space();
      if (pos_ >= len_ || p_[pos_] != ':') return Fail("':' expected");
      ++pos_;
      v->members.emplace_back(std::move(key), JsonValue());
      if (!Value(&v->members.back().second, depth + 1)) return false;
      Space();
      if (pos_ < len_ && p_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < len_ && p_[pos_] == '}') return ++pos_, true;
      return Fail("',' or '}' expected");
    }
  }

  bool Array(JsonValue* v, int depth) {
    v->kind = JsonValue::kArray;
    ++pos_;
    Space();
    if (pos_ < len_ && p_[pos_] == ']') return ++pos_, true;
    for (;;) {
      v->items.emplace_back();
      if (!Value(&v->items.back(), depth + 1)) return false;
      Space();
      if (pos_ < len_ && p_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < len_ && p_[pos_] == ']') return ++pos_, true;
      return Fail("',' or ']' expected");
    }
  }

  bool Hex4(uint32_t* out) {
    if (len_ - pos_ < 4) return Fail("cut \\u escape");
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      char c = p_[pos_ + i];
      v <<= 4;
      if (c >= '0' && c <= '9') v |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f') v |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') v |= static_cast<uint32_t>(c - 'A' + 10);
      else return Fail("bad \\u escape");
    }
    pos_ += 4;
    *out = v;
    return true;
  }

  bool String(std::string* out) {
    ++pos_;  // the opening quote
    while (pos_ < len_) {
      unsigned char c = static_cast<unsigned char>(p_[pos_]);
      if (c == '"') return ++pos_, true;
      if (c < 0x20) return Fail("control character in a string");
      if (c == '\\') {
        if (++pos_ >= len_) break;
        char e = p_[pos_++];
        switch (e) {
          case '"': *out += '"'; break;
          case '\\': *out += '\\'; break;
          case '/': *out += '/'; break;
          case 'b': *out += '\b'; break;
          case 'f': *out += '\f'; break;
          case 'n': *out += '\n'; break;
          case 'r': *out += '\r'; break;
          case 't': *out += '\t'; break;
          case 'u': {
            uint32_t cp;
            if (!Hex4(&cp)) return false;
            if (cp >= 0xD800 && cp <= 0xDBFF && len_ - pos_ >= 6 && p_[pos_] == '\\' && p_[pos_ + 1] == 'u') {
              size_t back = pos_;
              pos_ += 2;
              uint32_t low;
              if (!Hex4(&low)) return false;
              if (low >= 0xDC00 && low <= 0xDFFF) cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
              else pos_ = back;  // not a pair: the high half alone becomes U+FFFD below
            }
            AppendUtf8(*out, cp);  // a lone surrogate becomes U+FFFD
            break;
          }
          default: return Fail("bad escape");
        }
        continue;
      }
      size_t n;
      uint32_t cp = ReadUtf8(p_, len_, pos_, &n);
      if (n > 1 || c < 0x80) out->append(p_ + pos_, n);
      else AppendUtf8(*out, cp);  // not UTF-8: kept as U+FFFD
      pos_ += n;
    }
    return Fail("unterminated string");
  }

  bool Number(JsonValue* v) {
    size_t start = pos_;
    if (pos_ < len_ && p_[pos_] == '-') ++pos_;
    size_t digits = pos_;
    while (pos_ < len_ && p_[pos_] >= '0' && p_[pos_] <= '9') ++pos_;
    if (pos_ == digits) return Fail("value expected");
    if (p_[digits] == '0' && pos_ - digits > 1) return Fail("leading zero");
    if (pos_ < len_ && p_[pos_] == '.') {
      size_t frac = ++pos_;
      while (pos_ < len_ && p_[pos_] >= '0' && p_[pos_] <= '9') ++pos_;
      if (pos_ == frac) return Fail("digits expected after '.'");
    }
    if (pos_ < len_ && (p_[pos_] == 'e' || p_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < len_ && (p_[pos_] == '+' || p_[pos_] == '-')) ++pos_;
      size_t exp = pos_;
      while (pos_ < len_ && p_[pos_] >= '0' && p_[pos_] <= '9') ++pos_;
      if (pos_ == exp) return Fail("digits expected in the exponent");
    }
    if (pos_ - start > 64) return Fail("number too long");
    char buf[72];
    memcpy(buf, p_ + start, pos_ - start);
    buf[pos_ - start] = '\0';
    v->kind = JsonValue::kNumber;
    v->number = strtod(buf, nullptr);
    if (!std::isfinite(v->number)) return Fail("number out of range");
    return true;
  }

  const char* p_;
  size_t len_;
  size_t pos_ = 0;
  std::string error_;
  size_t errorAt_ = 0;
};

}  // namespace

bool ParseJson(const char* data, size_t len, JsonValue* out, std::string* problem) {
  *out = JsonValue();
  if (!data) len = 0;
  Parser parser(data ? data : "", len);
  return parser.Document(out, problem);
}

}  // namespace vt
