// The background prober as the console's commands run it: "--prober on|off"
// (on by default; off for comparison runs of the bandwidth figures), an idle
// lead before the first test so the idle figures have probes of their own,
// and the line_quality object at the end.
#pragma once

#include <string>

#include "engines/quality/LineQuality.h"

namespace vt {

// 1 when opt is "--prober" with "on" or "off" (stored in *on), 0 when the
// value is neither, -1 when opt is something else.
int ParseProberOption(const char* opt, const char* value, bool* on);

// Scoped: a run that returns early (a refusal, an engine that does not
// end) stops the prober on its way out, never leaving its threads to the
// process's exit.
class LineProbe {
 public:
  LineProbe() = default;
  LineProbe(const LineProbe&) = delete;
  LineProbe& operator=(const LineProbe&) = delete;
  ~LineProbe();
  // Probes host at rest for leadMs before the first test (when on).
  // False when on and the prober could not start (no IPv4 address).
  bool Begin(bool on, const char* host, unsigned leadMs);
  // Stops the prober; the line_quality object, or "" when it was off.
  std::string End();
  // After End: the figures of the run.
  const LineQuality& figures() const { return figures_; }

 private:
  LineQuality figures_;
  bool on_ = false;
  bool ended_ = false;
  unsigned long long startMs_ = 0;
};

}  // namespace vt
