// The upload request header of the bandwidth engine (portable).
#pragma once

#include <cstdint>
#include <string>

#include "net/http/Url.h"

namespace vt {

// Declared body length of every upload: 2000 × 1,048,576 bytes, never
// completed within a phase.
constexpr uint32_t kUploadDeclaredLength = 2097152000u;
// The upload body is sent from a zero-filled buffer of this size, in chunks
// of at most this many bytes.
constexpr int kUploadChunk = 102400;

// "POST <path> HTTP/1.1", Host, User-Agent, "Connection: keep-alive",
// "Cache-Control: no-cache", "Content-Length: 2097152000", blank line.
std::string ComposeUploadRequest(const UrlParts& url);

}  // namespace vt
