#include "tests/support/CommandDouble.h"

#include <process.h>

#include <atomic>
#include <fstream>
#include <iterator>

std::string TestExeFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n < sizeof path ? n : 0);
  size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}


std::string CommandDouble::TempName(const char* stem) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  static int serial = 0;
  return std::string(temp) + "vt-" + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
}

bool CommandDouble::Place(const char* command, const std::string& program) {
  folder_ = TempName("double");
  if (!CreateDirectoryA(folder_.c_str(), nullptr)) return false;
  exe_ = folder_ + "\\" + command + ".exe";
  argsFile_ = folder_ + "\\args.txt";
  if (!CopyFileA(program.c_str(), exe_.c_str(), FALSE)) return false;
  GetCurrentDirectoryA(sizeof previousFolder_, previousFolder_);
  return SetCurrentDirectoryA(folder_.c_str()) != 0;
}

CommandDouble::CommandDouble(Program, const char* command, const std::string& program) {
  ready_ = Place(command, program);
}

CommandDouble::CommandDouble(const char* command, const std::string& fixture, DWORD byteDelayMs, DWORD holdMs) {
  if (!Place(command, TestExeFolder() + "vt-replay.exe")) return;
  SetEnvironmentVariableA("VT_REPLAY_FILE", fixture.c_str());
  SetEnvironmentVariableA("VT_REPLAY_ARGS", argsFile_.c_str());
  SetEnvironmentVariableA("VT_REPLAY_BYTE_DELAY_MS", byteDelayMs ? std::to_string(byteDelayMs).c_str() : nullptr);
  SetEnvironmentVariableA("VT_REPLAY_HOLD_MS", holdMs ? std::to_string(holdMs).c_str() : nullptr);
  ready_ = true;
}

CommandDouble::~CommandDouble() {
  if (previousFolder_[0]) SetCurrentDirectoryA(previousFolder_);
  for (const char* name : {"VT_REPLAY_FILE", "VT_REPLAY_ARGS", "VT_REPLAY_BYTE_DELAY_MS", "VT_REPLAY_HOLD_MS"})
    SetEnvironmentVariableA(name, nullptr);
  // A double still running (held on purpose) keeps its file busy for a moment.
  if (!exe_.empty() && GetFileAttributesA(exe_.c_str()) != INVALID_FILE_ATTRIBUTES)
    for (int i = 0; i < 50 && !DeleteFileA(exe_.c_str()); ++i) Sleep(100);
  if (!argsFile_.empty()) DeleteFileA(argsFile_.c_str());
  if (!folder_.empty()) RemoveDirectoryA(folder_.c_str());
}

bool ReadWholeFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::string CommandDouble::CommandLineSeen() const {
  std::string text;
  ReadWholeFile(argsFile_, &text);
  return text;
}

namespace {

struct ThreadJob {
  unsigned(__stdcall* proc)(void*);
  void* arg;
  std::atomic<bool> finished{false};
  std::atomic<long> exitCode{-1};
};

unsigned __stdcall RunJob(void* p) {
  auto* job = static_cast<ThreadJob*>(p);
  job->exitCode = static_cast<long>(job->proc(job->arg));
  job->finished = true;
  return 0;
}

}  // namespace

long RunEngineThread(MessageCollector& collector, unsigned(__stdcall* proc)(void*), void* arg, DWORD timeoutMs) {
  auto* job = new ThreadJob{proc, arg};
  uintptr_t handle = _beginthreadex(nullptr, 0, RunJob, job, 0, nullptr);
  if (!handle) {
    delete job;
    return -1;
  }
  bool ended = collector.WaitFor([job] { return job->finished.load(); }, timeoutMs);
  if (!ended) return -1;  // job stays allocated: the thread still uses it
  WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 5000);
  CloseHandle(reinterpret_cast<HANDLE>(handle));
  long code = job->exitCode;
  delete job;
  return code;
}
