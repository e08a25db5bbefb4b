#include "model/UpdateSignature_win.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace vt {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

// Closes a CNG algorithm, hash or key handle when it leaves scope.
struct AlgorithmHandle {
  BCRYPT_ALG_HANDLE h = nullptr;
  ~AlgorithmHandle() {
    if (h) BCryptCloseAlgorithmProvider(h, 0);
  }
};
struct HashHandle {
  BCRYPT_HASH_HANDLE h = nullptr;
  ~HashHandle() {
    if (h) BCryptDestroyHash(h);
  }
};
struct KeyHandle {
  BCRYPT_KEY_HANDLE h = nullptr;
  ~KeyHandle() {
    if (h) BCryptDestroyKey(h);
  }
};

// SHA-256 of the file, read in 64 KB pieces. Windows 7 wants the hash
// object's memory from the caller, so it is allocated here.
bool HashFile(const std::string& path, UCHAR digest[32]) {
  AlgorithmHandle algorithm;
  if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm.h, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
    return false;
  DWORD objectSize = 0, got = 0;
  if (!Succeeded(BCryptGetProperty(algorithm.h, BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectSize),
                                   sizeof objectSize, &got, 0)))
    return false;
  std::vector<UCHAR> object(objectSize);
  HashHandle hash;
  if (!Succeeded(BCryptCreateHash(algorithm.h, &hash.h, object.data(), objectSize, nullptr, 0, 0)))
    return false;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  std::vector<UCHAR> buffer(64 * 1024);
  bool ok = true;
  for (;;) {
    size_t n = fread(buffer.data(), 1, buffer.size(), file);
    if (n > 0 && !Succeeded(BCryptHashData(hash.h, buffer.data(), static_cast<ULONG>(n), 0))) ok = false;
    if (!ok || n < buffer.size()) break;
  }
  if (ferror(file)) ok = false;
  fclose(file);
  return ok && Succeeded(BCryptFinishHash(hash.h, digest, 32, 0));
}

}  // namespace

SignatureCheck VerifyUpdateFile(const uint8_t* key, const std::string& path, const std::string& signature) {
  SignatureCheck form = SignatureForm(true, signature);
  if (form != SignatureCheck::Valid) return form;
  if (!key) return SignatureCheck::Invalid;

  UCHAR digest[32];
  if (!HashFile(path, digest)) return SignatureCheck::Unreadable;

  AlgorithmHandle algorithm;
  if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm.h, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)))
    return SignatureCheck::Invalid;
  // BCRYPT_ECCKEY_BLOB header, then X and Y of 32 bytes each.
  UCHAR blob[sizeof(BCRYPT_ECCKEY_BLOB) + kUpdatePublicKeySize];
  BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  memcpy(blob, &header, sizeof header);
  memcpy(blob + sizeof header, key, kUpdatePublicKeySize);
  KeyHandle publicKey;
  if (!Succeeded(BCryptImportKeyPair(algorithm.h, nullptr, BCRYPT_ECCPUBLIC_BLOB, &publicKey.h, blob,
                                     sizeof blob, 0)))
    return SignatureCheck::Invalid;
  UCHAR raw[kUpdateSignatureSize];
  memcpy(raw, signature.data(), sizeof raw);
  NTSTATUS status = BCryptVerifySignature(publicKey.h, nullptr, digest, sizeof digest, raw, sizeof raw, 0);
  return Succeeded(status) ? SignatureCheck::Valid : SignatureCheck::Invalid;
}

}  // namespace vt
