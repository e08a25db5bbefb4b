// bench_longrun: the console's whole certification (veltrane-cli certify,
// the same command object) run again and again inside one process, with
// the process's handles, private bytes and threads measured after each run.
//
//   bench_longrun RUNS [--settle MS] [--report FILE] [--config FILE] -- CERTIFY ARGUMENTS...
//
// --config names the server set, as veltrane-cli's does (bench/longrun
// gives config/lab.ini).
//
// Per run one line on standard error; with --report a markdown summary
// (first, median and last run of each measure, the largest growth over the
// first run, durations). The certify command's own JSON line per run goes
// to standard output. Exit code 0 when every run ended with the certify
// command's code 0 or 6 (certified or below the 90 % rule), 1 otherwise.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "config/ServerSetFile_win.h"
#include "tests/support/HandleCount.h"

namespace {

struct Sample {
  int code = 0;
  double seconds = 0;
  size_t handles = 0;
  size_t privateKb = 0;
  size_t threads = 0;
};

// Private bytes: PROCESS_MEMORY_COUNTERS_EX.PrivateUsage, which Windows
// reports equal to PagefileUsage (the process's commit charge). Wine leaves
// PrivateUsage at 0 and fills PagefileUsage; should both be 0, the process
// is a Linux process under Wine, and its anonymous resident memory (RssAnon
// of /proc/self/status, read through the Z: drive) is the nearest measure.
// *source names what was read.
size_t PrivateKb(const char** source) {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters)) {
    if (counters.PrivateUsage) {
      *source = "PrivateUsage";
      return counters.PrivateUsage / 1024;
    }
    if (counters.PagefileUsage) {
      *source = "PagefileUsage";
      return counters.PagefileUsage / 1024;
    }
  }
  *source = "none";
  FILE* status = fopen("Z:\\proc\\self\\status", "r");
  if (!status) return 0;
  char line[256];
  size_t kb = 0;
  while (fgets(line, sizeof line, status))
    if (strncmp(line, "RssAnon:", 8) == 0) {
      kb = strtoul(line + 8, nullptr, 10);
      *source = "RssAnon of /proc/self/status";
    }
  fclose(status);
  return kb;
}

size_t ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  size_t n = 0;
  DWORD pid = GetCurrentProcessId();
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == pid) ++n;
  CloseHandle(snapshot);
  return n;
}

template <typename T>
T Median(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? T() : v[v.size() / 2];
}

template <typename F>
void SummaryRow(FILE* f, const char* name, const std::vector<Sample>& s, F get, const char* format) {
  std::vector<double> v;
  for (const Sample& x : s) v.push_back(static_cast<double>(get(x)));
  double first = v.front(), last = v.back(), maxGrowth = 0;
  for (double x : v) maxGrowth = std::max(maxGrowth, x - first);
  char line[256];
  snprintf(line, sizeof line, format, name, first, Median(v), last, *std::min_element(v.begin(), v.end()),
           *std::max_element(v.begin(), v.end()), maxGrowth, last - first);
  fputs(line, f);
}

int Usage() {
  fprintf(stderr, "usage: bench_longrun RUNS [--settle MS] [--report FILE] [--config FILE] -- CERTIFY ARGUMENTS...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  if (argc < 3) return Usage();
  int runs = atoi(argv[1]);
  DWORD settleMs = 1000;
  const char* report = nullptr;
  const char* config = nullptr;
  int i = 2;
  for (; i < argc && strcmp(argv[i], "--") != 0; ++i) {
    if (strcmp(argv[i], "--settle") == 0 && i + 1 < argc) settleMs = static_cast<DWORD>(atoi(argv[++i]));
    else if (strcmp(argv[i], "--report") == 0 && i + 1 < argc) report = argv[++i];
    else if (strcmp(argv[i], "--config") == 0 && i + 1 < argc) config = argv[++i];
    else return Usage();
  }
  if (runs <= 0 || i >= argc) return Usage();
  std::string problem;
  if (!vt::UseServersAtStartUp(config, &problem)) {
    fprintf(stderr, "longrun: %s\n", problem.c_str());
    return 2;
  }
  const CliCommand* certify = FindCliCommand("certify");
  if (!certify) return 1;
  // argv of the command: "certify" then everything after "--".
  std::vector<char*> args;
  args.push_back(const_cast<char*>("certify"));
  for (int k = i + 1; k < argc; ++k) args.push_back(argv[k]);

  Sample before;
  before.handles = OwnHandleCount();
  const char* memorySource = "";
  before.privateKb = PrivateKb(&memorySource);
  before.threads = ThreadCount();
  fprintf(stderr, "longrun: before the first run: handles %zu, private %zu KB, threads %zu\n", before.handles,
          before.privateKb, before.threads);
  std::vector<Sample> samples;
  bool allOk = true;
  for (int run = 1; run <= runs; ++run) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    std::vector<char*> copy = args;  // a command may reorder its argv
    Sample s;
    s.code = certify->run(static_cast<int>(copy.size()), copy.data());
    QueryPerformanceCounter(&end);
    s.seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    Sleep(settleMs);  // threads that end right after their last message
    s.handles = OwnHandleCount();
    s.privateKb = PrivateKb(&memorySource);
    s.threads = ThreadCount();
    samples.push_back(s);
    if (s.code != 0 && s.code != 6) allOk = false;
    fprintf(stderr, "longrun: run %d: exit %d, %.1f s, handles %zu, private %zu KB, threads %zu\n", run, s.code,
            s.seconds, s.handles, s.privateKb, s.threads);
    fflush(stderr);
  }

  if (report) {
    FILE* f = fopen(report, "wb");
    if (f) {
      fprintf(f,
              "Before the first run: %zu handles, %zu KB private, %zu threads. Measured %lu ms after each run; "
              "handles by GetProcessHandleCount (or the system handle table where that gives 0), private "
              "memory from %s, threads by a Toolhelp32 snapshot.\n\n",
              before.handles, before.privateKb, before.threads, static_cast<unsigned long>(settleMs), memorySource);
      fputs("| measure | first run | median | last run | min | max | max growth over the first | last - first |\n"
            "|---|---|---|---|---|---|---|---|\n",
            f);
      const char* whole = "| %s | %.0f | %.0f | %.0f | %.0f | %.0f | %.0f | %.0f |\n";
      SummaryRow(f, "handles", samples, [](const Sample& x) { return x.handles; }, whole);
      SummaryRow(f, "private bytes (KB)", samples, [](const Sample& x) { return x.privateKb; }, whole);
      SummaryRow(f, "threads", samples, [](const Sample& x) { return x.threads; }, whole);
      SummaryRow(f, "duration (s)", samples, [](const Sample& x) { return x.seconds; },
                 "| %s | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f |\n");
      fputs("\n| run | exit | seconds | handles | private KB | threads |\n|---|---|---|---|---|---|\n", f);
      for (size_t k = 0; k < samples.size(); ++k)
        fprintf(f, "| %zu | %d | %.1f | %zu | %zu | %zu |\n", k + 1, samples[k].code, samples[k].seconds,
                samples[k].handles, samples[k].privateKb, samples[k].threads);
      fclose(f);
    }
  }
  return allOk ? 0 : 1;
}
