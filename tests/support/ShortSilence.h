// The plain exchanges' silence bound in the fault tests: a silent server
// ends an exchange after kTestSilenceMs instead of the product's 30 s.
#pragma once

#include <windows.h>

#include "net/http/HttpClient_win.h"

constexpr DWORD kTestSilenceMs = 1000;

// Shortens the bound to kTestSilenceMs for one test and restores it.
struct ShortSilence {
  ShortSilence() { vt::SetExchangeSilenceMs(kTestSilenceMs); }
  ~ShortSilence() { vt::SetExchangeSilenceMs(0); }
  ShortSilence(const ShortSilence&) = delete;
  ShortSilence& operator=(const ShortSilence&) = delete;
};
