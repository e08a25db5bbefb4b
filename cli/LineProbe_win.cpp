#include "cli/LineProbe_win.h"

#include <windows.h>

#include <cstring>

#include "cli/LineQualityJson.h"
#include "engines/quality/LineProber_win.h"

namespace vt {

int ParseProberOption(const char* opt, const char* value, bool* on) {
  if (strcmp(opt, "--prober") != 0) return -1;
  if (strcmp(value, "on") == 0) *on = true;
  else if (strcmp(value, "off") == 0) *on = false;
  else return 0;
  return 1;
}

bool LineProbe::Begin(bool on, const char* host, unsigned leadMs) {
  LineProber& prober = LineProber::Instance();
  prober.SetEnabled(on);
  on_ = on;
  if (!on) return true;
  startMs_ = GetTickCount64();
  prober.SetPhase(ProbePhase::Idle);
  if (!prober.Start(host)) return false;
  Sleep(leadMs);
  return true;
}

LineProbe::~LineProbe() {
  if (on_ && !ended_) LineProber::Instance().Stop();
}

std::string LineProbe::End() {
  if (!on_ || ended_) return "";
  ended_ = true;
  LineProber& prober = LineProber::Instance();
  prober.Stop();
  double seconds = (GetTickCount64() - startMs_) / 1000.0;
  figures_ = prober.Figures();
  return LineQualityJson(figures_, seconds);
}

}  // namespace vt
