// Reading a server set from veltrane.ini. Windows' profile API reads the
// file (ServerSetFile_win.h) and hands over each section's lines; this
// checks them and builds the set, all or nothing.
//
// The format (config/production.ini, lab.ini and netlab.ini are examples):
//   [servers]            platform=HOST, and optionally update_public_key=KEY
//                        (reserved for signed updates; empty means none)
//   [metro_download]     1= to 4=   URL
//   [internet_download]  1= to 16=  URL
//   [metro_upload]       1= to 8=   URL
//   [internet_upload]    1= to 6=   URL
//   [app_sites]          1= to 6=   URL
// Every section and every numbered entry must be there, each once; section
// and key names are matched without regard to case, as the profile API
// does. Lines starting with ";" or "#" are comments. HOST is a plain host
// name or a dotted IPv4 address (no port); a URL is "http://HOST[:PORT]/path".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/ServerSet.h"

namespace vt {

// One section as the profile API gives it: its name and its lines
// ("key=value", and comments or blank lines where the API keeps them). The
// lines before the first section header come as a section named "".
struct IniSection {
  std::string name;
  std::vector<std::string> lines;
  bool truncated = false;  // the section did not fit the reader's buffer
};

// What stops a file from being used: where (section without brackets, key;
// either may be empty) and what is wrong.
struct ServerSetProblem {
  std::string section;
  std::string key;
  std::string what;
};

constexpr size_t kMaxHostLength = 253;  // a DNS name's limit
constexpr size_t kMaxUrlLength = 512;
constexpr size_t kMaxUpdateKeyLength = 1024;

// A host name (letters, digits and "-" in dot-separated labels of up to 63
// characters, the last label starting with a letter) or four decimal
// numbers 0 to 255 without leading zeros. Nothing else: no port, no
// spaces, nothing the resolver would read as an address in another form.
bool IsPlainHost(const std::string& host);

// Empty when url can be a table entry; else what is wrong with it.
std::string UrlProblem(const std::string& url);

// Builds *set from the file's sections. On any problem returns false,
// fills *problem and leaves *set untouched. set->origin is not set here.
bool ReadServerSet(const std::vector<IniSection>& sections, ServerSet* set, ServerSetProblem* problem);

// The one message: "<file>: [section] key: what".
std::string ServerSetProblemText(const std::string& file, const ServerSetProblem& problem);

}  // namespace vt
