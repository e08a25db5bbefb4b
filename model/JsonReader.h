// A small JSON reader for files the program wrote itself and reads back
// (result records). The input is outside input all the same (anyone may
// edit a file in the user's folder): nesting, sizes and numbers are
// bounded, and a reader never trusts what it finds.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vt {

constexpr int kJsonMaxDepth = 32;

struct JsonValue {
  enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
  bool boolean = false;
  double number = 0.0;
  std::string text;  // UTF-8; \u escapes decoded, an unpaired surrogate as U+FFFD
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;

  // The member of an object by key (the first of equal keys), or null.
  const JsonValue* Get(const char* key) const;
};

// Parses one JSON text (whitespace around it allowed). False, with a short
// reason and the byte offset in *problem, on anything malformed, on nesting
// deeper than kJsonMaxDepth, or on a number that is not finite.
bool ParseJson(const char* data, size_t len, JsonValue* out, std::string* problem);

}  // namespace vt
