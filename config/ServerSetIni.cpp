#include "config/ServerSetIni.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

namespace vt {

namespace {

const char* const kServersSection = "servers";
const char* const kPlatformKey = "platform";
const char* const kUpdateKeyKey = "update_public_key";

// A section of numbered URLs and where its entries go.
struct Table {
  const char* section;
  std::string* entries;
  size_t count;
};

std::vector<Table> TablesOf(ServerSet& set) {
  return {{"metro_download", set.MetroDownloadTable, std::size(set.MetroDownloadTable)},
          {"internet_download", set.InternetDownloadTable, std::size(set.InternetDownloadTable)},
          {"metro_upload", set.MetroUploadTable, std::size(set.MetroUploadTable)},
          {"internet_upload", set.InternetUploadTable, std::size(set.InternetUploadTable)},
          {"app_sites", set.AppTestSites, std::size(set.AppTestSites)}};
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const char* b) {
  size_t n = strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (Lower(a[i]) != b[i]) return false;
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A decimal number without sign or leading zeros, at most max; -1 otherwise.
long SmallNumber(const std::string& s, long max) {
  if (s.empty() || s.size() > 5 || (s[0] == '0' && s.size() > 1)) return -1;
  long value = 0;
  for (char c : s) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value <= max ? value : -1;
}

bool IsDottedAddress(const std::string& host) {
  size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    size_t dot = host.find('.', start);
    if ((part < 3) != (dot != std::string::npos)) return false;
    std::string piece = host.substr(start, part < 3 ? dot - start : std::string::npos);
    if (piece.size() > 3 || SmallNumber(piece, 255) < 0) return false;
    start = dot + 1;
  }
  return true;
}

bool IsHostName(const std::string& host) {
  size_t start = 0;
  while (true) {
    size_t dot = host.find('.', start);
    size_t end = dot == std::string::npos ? host.size() : dot;
    size_t length = end - start;
    if (length == 0 || length > 63 || host[start] == '-' || host[end - 1] == '-') return false;
    for (size_t i = start; i < end; ++i)
      if (!IsLetter(host[i]) && !IsDigit(host[i]) && host[i] != '-') return false;
    if (dot == std::string::npos) return IsLetter(host[start]);  // the last label: never a number
    start = dot + 1;
  }
}

// Characters a path may hold: RFC 3986's unreserved and reserved ones and
// "%", but not ":" (the client's URL reader takes the first ":" after the
// scheme as the start of the port) nor "#".
// The update key as the client verifies with it: X and Y of the point,
// 32 bytes each, written as 128 hexadecimal digits.
bool IsUpdateKeyText(const std::string& text) {
  if (text.size() != 128) return false;
  for (char c : text)
    if (!IsDigit(c) && !((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
  return true;
}

bool IsPathChar(char c) {
  return IsLetter(c) || IsDigit(c) || (c != '\0' && strchr("-._~!$&'()*+,;=/?@%", c) != nullptr);
}

// Keys and values quoted in a message: printable ASCII, cut short.
std::string Shown(const std::string& s) {
  const size_t kShown = 40;
  std::string out;
  for (size_t i = 0; i < s.size() && i < kShown; ++i) out += s[i] >= ' ' && s[i] < 0x7F ? s[i] : '?';
  if (s.size() > kShown) out += "...";
  return out;
}

std::string CharShown(char c) {
  if (c > ' ' && c < 0x7F) return std::string("\"") + c + "\"";
  char hex[8];
  snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(c));
  return hex;
}

const char* const kNotHost = "not a plain host name or dotted IPv4 address";

// Checks one value by what it holds; empty when good.
std::string ValueProblem(const std::string& value, size_t maxLength, bool isUrl, bool isHost) {
  if (value.empty()) return "empty";
  if (value.size() > maxLength) return "longer than " + std::to_string(maxLength) + " characters";
  if (isUrl) return UrlProblem(value);
  if (isHost) return IsPlainHost(value) ? "" : std::string(kNotHost) + ": \"" + Shown(value) + "\"";
  for (char c : value)
    if (c <= ' ' || c >= 0x7F) return "character " + CharShown(c) + " not allowed";
  return "";
}

// The lines of one section as (key, value) pairs; comments and blank lines
// left out. False, with *problem filled, on a line that is no pair.
bool SplitLines(const IniSection& section, std::vector<std::pair<std::string, std::string>>* pairs,
                ServerSetProblem* problem) {
  for (const std::string& raw : section.lines) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) {
      *problem = {Shown(section.name), Shown(line), "not a key=value line"};
      return false;
    }
    pairs->emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
  }
  return true;
}

}  // namespace

bool IsPlainHost(const std::string& host) {
  if (host.empty() || host.size() > kMaxHostLength) return false;
  return IsDottedAddress(host) || IsHostName(host);
}

std::string UrlProblem(const std::string& url) {
  static const char kScheme[] = "http://";
  if (url.size() > kMaxUrlLength) return "longer than " + std::to_string(kMaxUrlLength) + " characters";
  if (url.compare(0, sizeof kScheme - 1, kScheme) != 0) return "not an http:// URL";
  size_t hostStart = sizeof kScheme - 1;
  size_t slash = url.find('/', hostStart);
  if (slash == std::string::npos) return "no path after the host (\"/\" at least)";
  std::string authority = url.substr(hostStart, slash - hostStart);
  size_t colon = authority.find(':');
  std::string host = authority.substr(0, colon);
  if (!IsPlainHost(host)) return std::string("host ") + kNotHost + ": \"" + Shown(host) + "\"";
  if (colon != std::string::npos && SmallNumber(authority.substr(colon + 1), 65535) <= 0)
    return "port not a number from 1 to 65535: \"" + Shown(authority.substr(colon + 1)) + "\"";
  for (size_t i = slash; i < url.size(); ++i)
    if (!IsPathChar(url[i])) return "character " + CharShown(url[i]) + " not allowed in the path";
  return "";
}

bool ReadServerSet(const std::vector<IniSection>& sections, ServerSet* set, ServerSetProblem* problem) {
  ServerSet read;
  std::vector<Table> tables = TablesOf(read);
  char haveServers = 0;
  std::vector<char> haveTable(tables.size(), 0);  // not vector<bool>: its elements are pointed to

  for (const IniSection& section : sections) {
    if (section.truncated) {
      *problem = {Shown(section.name), "", "too large to read"};
      return false;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    if (!SplitLines(section, &pairs, problem)) return false;
    if (section.name.empty()) {  // lines before the first section: only comments may stand there
      if (pairs.empty()) continue;
      *problem = {"", Shown(pairs[0].first), "outside any section"};
      return false;
    }

    // The section's keys: a name, the value's limit and kind, where it
    // goes, and whether it must be given.
    struct Key {
      std::string name;
      size_t maxLength;
      bool isUrl, isHost, required;
      std::string* target;
      bool seen = false;
    };
    std::vector<Key> keys;
    char* have = nullptr;
    if (SameName(section.name, kServersSection)) {
      have = &haveServers;
      keys.push_back({kPlatformKey, kMaxHostLength, false, true, true, &read.platformServer});
      keys.push_back({kUpdateKeyKey, kMaxUpdateKeyLength, false, false, false, &read.updatePublicKey});
    } else {
      for (size_t t = 0; t < tables.size(); ++t) {
        if (!SameName(section.name, tables[t].section)) continue;
        have = &haveTable[t];
        for (size_t i = 0; i < tables[t].count; ++i)
          keys.push_back({std::to_string(i + 1), kMaxUrlLength, true, false, true, &tables[t].entries[i]});
      }
    }
    if (!have) {
      *problem = {Shown(section.name), "", "unknown section"};
      return false;
    }
    if (*have) {
      *problem = {Shown(section.name), "", "section given twice"};
      return false;
    }
    *have = 1;

    for (const auto& [name, value] : pairs) {
      Key* key = nullptr;
      for (Key& k : keys)
        if (SameName(name, k.name.c_str())) key = &k;
      if (!key) {
        *problem = {Shown(section.name), Shown(name), "unknown key"};
        return false;
      }
      if (key->seen) {
        *problem = {Shown(section.name), Shown(name), "given twice"};
        return false;
      }
      key->seen = true;
      if (value.empty() && !key->required) continue;  // given empty: not set
      std::string what = ValueProblem(value, key->maxLength, key->isUrl, key->isHost);
      if (what.empty() && key->target == &read.updatePublicKey && !IsUpdateKeyText(value))
        what = "not 128 hexadecimal digits (X and Y of an ECDSA P-256 public key)";
      if (!what.empty()) {
        *problem = {Shown(section.name), Shown(name), what};
        return false;
      }
      *key->target = value;
    }
    for (const Key& k : keys) {
      if (k.required && !k.seen) {
        *problem = {Shown(section.name), k.name, "missing"};
        return false;
      }
    }
  }

  if (!haveServers) {
    *problem = {kServersSection, "", "missing section"};
    return false;
  }
  for (size_t t = 0; t < tables.size(); ++t) {
    if (!haveTable[t]) {
      *problem = {tables[t].section, "", "missing section"};
      return false;
    }
  }
  read.origin = set->origin;
  *set = read;
  return true;
}

std::string ServerSetProblemText(const std::string& file, const ServerSetProblem& problem) {
  std::string where;
  if (!problem.section.empty()) where = "[" + problem.section + "]";
  if (!problem.key.empty()) where += (where.empty() ? "" : " ") + problem.key;
  return file + ": " + (where.empty() ? "" : where + ": ") + problem.what;
}

}  // namespace vt
