// Verifies a downloaded update with Windows' own cryptography (CNG, present
// from Windows 7 on): SHA-256 of the file, then ECDSA P-256 with the
// configured public key.
#pragma once

#include <cstdint>
#include <string>

#include "model/UpdateSignature.h"

namespace vt {

// key: X‖Y (kUpdatePublicKeySize bytes); signature: as downloaded. Checks the
// signature's form first (SignatureForm), then hashes the file in pieces and
// verifies. Valid only when CNG accepts the signature.
SignatureCheck VerifyUpdateFile(const uint8_t* key, const std::string& path, const std::string& signature);

}  // namespace vt
