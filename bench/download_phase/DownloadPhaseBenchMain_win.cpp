// bench_download_phase [--mode 1|2] [--level N] [--config FILE]: one
// download phase of the bandwidth engine against the servers of FILE
// (bench/download-phase gives config/lab.ini, the lab on loopback),
// exactly as the window starts it, timed from outside the engine. Prints
// one JSON object: the samples, the final figure, wall-clock times (Unix
// milliseconds, to line up with the lab-side sampler of bench/download-phase)
// and the process's CPU time during the phase (GetProcessTimes).
#include <winsock2.h>
#include <windows.h>
#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/Messages.h"
#include "config/ServerSetFile_win.h"
#include "engines/bandwidth/BandwidthTest_win.h"

namespace {

int64_t UnixMs() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  int64_t t = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return t / 10000 - 11644473600000LL;
}

double CpuMs() {
  FILETIME create, exit, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &create, &exit, &kernel, &user)) return -1;
  auto ms = [](const FILETIME& f) {
    return static_cast<double>((static_cast<int64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

struct Bench {
  std::vector<uint32_t> samples;
  std::vector<int64_t> sampleAt;
  uint32_t final = 0;
  int64_t doneAt = 0;
  bool done = false;
};

Bench* g_bench = nullptr;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == vt::MSG_DOWNLOAD_SAMPLE) {
    g_bench->samples.push_back(static_cast<uint32_t>(wp));
    g_bench->sampleAt.push_back(UnixMs());
    return 0;
  }
  if (msg == vt::MSG_DOWNLOAD_DONE) {
    g_bench->final = static_cast<uint32_t>(wp);
    g_bench->doneAt = UnixMs();
    g_bench->done = true;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  int mode = 2, level = 16;
  const char* config = nullptr;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!strcmp(argv[i], "--mode")) mode = atoi(argv[i + 1]);
    if (!strcmp(argv[i], "--level")) level = atoi(argv[i + 1]);
    if (!strcmp(argv[i], "--config")) config = argv[i + 1];
  }
  std::string problem;
  if (!vt::UseServersAtStartUp(config, &problem)) {
    fprintf(stderr, "bench_download_phase: %s\n", problem.c_str());
    return 2;
  }
  Bench bench;
  g_bench = &bench;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VeltraneBench";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);

  vt::SpeedTestRequest request;
  request.bandwidthLevel = level;
  request.sampleBudget = 15;
  request.window = hwnd;
  double cpuStart = CpuMs();
  int64_t start = UnixMs();
  HANDLE thread = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, vt::DownloadTestFor(mode), &request, 0, nullptr));
  if (!thread) return 1;
  DWORD begin = GetTickCount();
  while (!bench.done && GetTickCount() - begin < 120000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  }
  double cpuDone = CpuMs();
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  int64_t ended = UnixMs();

  std::string out = "{\"mode\":" + std::to_string(mode) + ",\"level\":" + std::to_string(level) + ",\"samples\":[";
  for (size_t i = 0; i < bench.samples.size(); ++i) out += (i ? "," : "") + std::to_string(bench.samples[i]);
  out += "],\"sample_at_ms\":[";
  for (size_t i = 0; i < bench.sampleAt.size(); ++i) out += (i ? "," : "") + std::to_string(bench.sampleAt[i]);
  char tail[512];
  snprintf(tail, sizeof tail,
           "],\"final\":%u,\"start_ms\":%lld,\"done_ms\":%lld,\"thread_ended_ms\":%lld,"
           "\"cpu_ms\":%.1f,\"done\":%s}",
           bench.final, static_cast<long long>(start), static_cast<long long>(bench.doneAt),
           static_cast<long long>(ended), cpuDone - cpuStart, bench.done ? "true" : "false");
  out += tail;
  printf("%s\n", out.c_str());
  return bench.done ? 0 : 1;
}
