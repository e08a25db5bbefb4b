// The rules of signed updates that need no cryptography: the key's text,
// the signature's form and the install decision.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/UpdateSignature.h"

namespace {

TEST(UpdateSignature, PublicKeyText) {
  const std::string hex = std::string(64, '0') + std::string(62, 'A') + "f9";
  struct Case {
    const char* name;
    std::string text;
    bool ok;
  } cases[] = {
      {"128 digits", hex, true},
      {"blanks and a line end around", "  " + hex + "\r\n", true},
      {"lower and upper case", std::string(64, 'a') + std::string(64, 'F'), true},
      {"one digit short", hex.substr(1), false},
      {"one digit more", hex + "0", false},
      {"not hexadecimal", std::string(127, '0') + "g", false},
      {"blank inside", hex.substr(0, 64) + " " + hex.substr(65), false},
      {"empty", "", false},
  };
  for (const Case& c : cases) {
    uint8_t key[vt::kUpdatePublicKeySize];
    memset(key, 0x5A, sizeof key);
    EXPECT_EQ(vt::ParseUpdatePublicKey(c.text.c_str(), key), c.ok) << c.name;
    if (c.ok && c.text == hex) {
      EXPECT_EQ(key[0], 0x00);
      EXPECT_EQ(key[40], 0xAA);
      EXPECT_EQ(key[63], 0xF9);
    }
    if (!c.ok) {
      EXPECT_EQ(key[0], 0x5A) << c.name << ": untouched";
    }
  }
  uint8_t key[vt::kUpdatePublicKeySize];
  EXPECT_FALSE(vt::ParseUpdatePublicKey(nullptr, key));
}

TEST(UpdateSignature, FormAndDecision) {
  using vt::SignatureCheck;
  EXPECT_EQ(vt::SignatureForm(false, std::string(64, 'x')), SignatureCheck::Missing);
  EXPECT_EQ(vt::SignatureForm(true, ""), SignatureCheck::Missing);
  EXPECT_EQ(vt::SignatureForm(true, std::string(63, 'x')), SignatureCheck::WrongSize);
  EXPECT_EQ(vt::SignatureForm(true, std::string(65, 'x')), SignatureCheck::WrongSize);
  EXPECT_EQ(vt::SignatureForm(true, std::string(64, '\0')), SignatureCheck::Valid);

  for (SignatureCheck c : {SignatureCheck::Valid, SignatureCheck::Missing, SignatureCheck::WrongSize,
                           SignatureCheck::Invalid, SignatureCheck::Unreadable}) {
    EXPECT_TRUE(vt::SignatureAllowsInstall(false, c)) << vt::SignatureCheckText(c);
    EXPECT_EQ(vt::SignatureAllowsInstall(true, c), c == SignatureCheck::Valid) << vt::SignatureCheckText(c);
  }
}

}  // namespace
