#include "cli/JsonOutput_win.h"

#include <windows.h>

#include <climits>
#include <cstdio>

namespace vt {

std::string AnsiToUtf8(const std::string& text) {
  // Every byte is ASCII: nothing to convert (the usual line: numbers and
  // English names only).
  bool ascii = true;
  for (unsigned char c : text) ascii = ascii && c < 0x80;
  if (ascii || text.size() > INT_MAX / 3) return ascii ? text : std::string();
  const int len = static_cast<int>(text.size());
  // One UTF-16 unit per character at most: a double-byte character gives
  // one, a single byte one.
  std::wstring wide(text.size(), L'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), len, wide.data(), len);
  if (n <= 0) return std::string();
  // Three UTF-8 bytes per UTF-16 unit at most (the code page gives no
  // surrogate pairs).
  std::string out(static_cast<size_t>(n) * 3, '\0');
  int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), static_cast<int>(out.size()), nullptr,
                              nullptr);
  if (m <= 0) return std::string();
  out.resize(static_cast<size_t>(m));
  return out;
}

void PrintJsonLine(const std::string& json) {
  std::string line = AnsiToUtf8(json);
  if (line.empty() && !json.empty()) line = "{\"error\":\"a line could not be written as UTF-8\"}";
  line += '\n';
  fwrite(line.data(), 1, line.size(), stdout);
  fflush(stdout);
}

}  // namespace vt
