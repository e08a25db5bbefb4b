// Fuzz target: the platform's version document, read as the client reads
// the reply body (a zero-ended text; an embedded zero ends it).
// fuzz-options: -max_len=16384
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/platform/VersionDocument.h"
#include "tests/fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  VersionDocument doc;
  doc.version = "unchanged";
  bool read = ReadVersionDocument(text.c_str(), &doc);
  if (!read) FUZZ_CHECK(doc.version == "unchanged");
  // What the reader hands on comes out of the text: no attribute value is
  // longer than the document.
  if (read) FUZZ_CHECK(doc.version.size() <= size && doc.url.size() <= size && doc.autoUpdate.size() <= size);
  return 0;
}
