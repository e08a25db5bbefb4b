// JSON lines of veltrane-cli: one object per message an engine sends, and
// summary objects built field by field.
#pragma once

#include <cstdint>
#include <string>

namespace vt {

// Appends text as a JSON string literal (quotes included). The line stays
// in the system code page until it is written (PrintJsonLine converts it to
// UTF-8): double-byte characters are copied whole (their trail bytes may be
// '\'), so the conversion gets every character back; a lead byte without a
// trail byte (0x40-0xFE but 0x7F) after it is written as '?'.
void AppendJsonString(std::string& out, const char* text);

// {"msg":"MSG_PING_REPLY","wParam":12,"lParam":0} — with "text" when the
// message carries a text; unknown numbers are written as "msg":1234.
std::string MessageJson(uint32_t message, uint64_t wParam, int64_t lParam, const char* text = nullptr);

// Builds {"a":1,"b":"x"} one field at a time.
class JsonObject {
 public:
  JsonObject& Add(const char* key, const char* value);
  JsonObject& Add(const char* key, int64_t value);
  JsonObject& Add(const char* key, double value, int decimals);
  JsonObject& AddRaw(const char* key, const std::string& json);
  std::string Str() const { return body_.empty() ? "{}" : body_ + "}"; }

 private:
  void Key(const char* key);
  std::string body_;
};

}  // namespace vt
