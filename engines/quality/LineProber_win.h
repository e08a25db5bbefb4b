// The background prober: ICMP echo to the platform server, 25 a second with
// a 1 s time-out, from the first test the user starts until the report is
// exported (or the console's certification ends). Every probe carries the
// phase of the certification it was sent in; the figures come from
// vt::ComputeLineQuality.
//
// One prober per process (Instance), never freed: its threads may outlive
// any window. The pages only set the phase and read the figures; nothing is
// posted to a window.
#pragma once

#include <cstdint>

#include "engines/quality/LineQuality.h"

namespace vt {

class LineProber {
 public:
  static constexpr unsigned kProbesPerSecond = 25;
  static constexpr unsigned kTimeOutMs = 1000;

  static LineProber& Instance();

  // Starts probing host (an IPv4 address or a name, an optional ":port" is
  // dropped) unless running or switched off; a new start begins a new log.
  // False when the host has no IPv4 address or a thread could not start.
  bool Start(const char* host);
  void SetPhase(ProbePhase phase);
  // Ends the run and keeps its figures for Figures(): probes not yet sent
  // are dropped, and every thread of the prober has ended when it returns
  // (a probe in flight ends within its time-out; the wait is bounded at
  // the time-out plus 2 s).
  void Stop();
  bool running() const;
  // The figures of the current run, or of the last one after Stop.
  LineQuality Figures() const;
  // Off: Start does nothing (comparison runs of the bandwidth figures).
  void SetEnabled(bool enabled);
  bool enabled() const;

 private:
  LineProber() = default;
};

}  // namespace vt
