// Signed updates. The operator signs each published executable with its own
// ECDSA P-256 key; the signature is published beside it (the update URL with
// ".sig" appended) as the raw 64 bytes r‖s (each 32 bytes, big-endian,
// left-padded) over the SHA-256 of the file. The client carries the public
// key in its server set as 128 hexadecimal digits: X‖Y of the point.
//
// When a key is configured, only an update whose signature verifies with it
// is installed; without one, updates install unverified as before (said in
// the log at start-up), so a deployment without signing keeps working.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vt {

constexpr size_t kUpdatePublicKeySize = 64;  // X‖Y
constexpr size_t kUpdateSignatureSize = 64;  // r‖s

// 128 hexadecimal digits (either case; blanks around them ignored) into the
// key's 64 bytes. False for anything else, out untouched then.
bool ParseUpdatePublicKey(const char* text, uint8_t out[kUpdatePublicKeySize]);

enum class SignatureCheck {
  Valid,       // verified with the configured key
  Missing,     // no signature: not published, not whole, or not a 2xx reply
  WrongSize,   // not exactly 64 bytes (truncated or oversized)
  Invalid,     // does not verify: other bytes, another key, a changed file
  Unreadable,  // the downloaded file could not be read or hashed
};

// The signature as downloaded, judged by form alone (Missing, WrongSize) or
// Valid meaning "well-formed, now verify it".
SignatureCheck SignatureForm(bool fetched, const std::string& signature);

// Whether a downloaded update may be installed as far as its signature goes.
bool SignatureAllowsInstall(bool keyConfigured, SignatureCheck check);

// For the log: "valid", "missing", "wrong size", "invalid", "unreadable".
const char* SignatureCheckText(SignatureCheck check);

}  // namespace vt
