#include "model/UpdateSignature.h"

#include <cstring>

namespace vt {

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

bool ParseUpdatePublicKey(const char* text, uint8_t out[kUpdatePublicKeySize]) {
  if (!text) return false;
  size_t begin = 0, end = strlen(text);
  while (begin < end && Blank(text[begin])) ++begin;
  while (end > begin && Blank(text[end - 1])) --end;
  if (end - begin != 2 * kUpdatePublicKeySize) return false;
  uint8_t key[kUpdatePublicKeySize];
  for (size_t i = 0; i < kUpdatePublicKeySize; ++i) {
    int high = HexDigit(text[begin + 2 * i]), low = HexDigit(text[begin + 2 * i + 1]);
    if (high < 0 || low < 0) return false;
    key[i] = static_cast<uint8_t>(high << 4 | low);
  }
  memcpy(out, key, sizeof key);
  return true;
}

SignatureCheck SignatureForm(bool fetched, const std::string& signature) {
  if (!fetched || signature.empty()) return SignatureCheck::Missing;
  if (signature.size() != kUpdateSignatureSize) return SignatureCheck::WrongSize;
  return SignatureCheck::Valid;
}

bool SignatureAllowsInstall(bool keyConfigured, SignatureCheck check) {
  return !keyConfigured || check == SignatureCheck::Valid;
}

const char* SignatureCheckText(SignatureCheck check) {
  switch (check) {
    case SignatureCheck::Valid: return "valid";
    case SignatureCheck::Missing: return "missing";
    case SignatureCheck::WrongSize: return "wrong size";
    case SignatureCheck::Invalid: return "invalid";
    case SignatureCheck::Unreadable: return "unreadable";
  }
  return "invalid";
}

}  // namespace vt
