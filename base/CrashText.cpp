#include "base/CrashText.h"

#include <cstdarg>
#include <cstdio>

namespace vt {

namespace {

// Appends to a fixed buffer; what does not fit is cut, the text stays
// terminated.
class Bounded {
 public:
  Bounded(char* out, size_t size) : out_(out), size_(size) {
    if (size_) out_[0] = '\0';
  }
  void Add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    if (used_ + 1 >= size_) return;
    va_list args;
    va_start(args, format);
    int n = vsnprintf(out_ + used_, size_ - used_, format, args);
    va_end(args);
    if (n < 0) return;
    used_ += static_cast<size_t>(n) < size_ - used_ ? static_cast<size_t>(n) : size_ - used_ - 1;
  }

 private:
  char* out_;
  size_t size_;
  size_t used_ = 0;
};

struct CodeName {
  uint32_t code;
  const char* name;
};

const CodeName kCodeNames[] = {
    {0xC0000005u, "EXCEPTION_ACCESS_VIOLATION"},
    {0xC0000006u, "EXCEPTION_IN_PAGE_ERROR"},
    {0xC000001Du, "EXCEPTION_ILLEGAL_INSTRUCTION"},
    {0xC0000025u, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {0xC000008Cu, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {0xC000008Du, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {0xC000008Eu, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {0xC000008Fu, "EXCEPTION_FLT_INEXACT_RESULT"},
    {0xC0000090u, "EXCEPTION_FLT_INVALID_OPERATION"},
    {0xC0000091u, "EXCEPTION_FLT_OVERFLOW"},
    {0xC0000092u, "EXCEPTION_FLT_STACK_CHECK"},
    {0xC0000093u, "EXCEPTION_FLT_UNDERFLOW"},
    {0xC0000094u, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {0xC0000095u, "EXCEPTION_INT_OVERFLOW"},
    {0xC0000096u, "EXCEPTION_PRIV_INSTRUCTION"},
    {0xC00000FDu, "EXCEPTION_STACK_OVERFLOW"},
    {0xC0000374u, "STATUS_HEAP_CORRUPTION"},
    {0xC0000409u, "STATUS_STACK_BUFFER_OVERRUN"},
    {0x80000002u, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {0x80000003u, "EXCEPTION_BREAKPOINT"},
    {0x80000004u, "EXCEPTION_SINGLE_STEP"},
    {kCrashTerminate, "std::terminate"},
    {kCrashInvalidParameter, "invalid parameter"},
    {kCrashPureCall, "pure virtual call"},
};

const char* AccessText(int kind) {
  switch (kind) {
    case 0: return "reading";
    case 1: return "writing";
    case 8: return "executing";
    default: return "accessing";
  }
}

}  // namespace

const char* CrashCodeName(uint32_t code) {
  for (const CodeName& c : kCodeNames)
    if (c.code == code) return c.name;
  return "unknown exception";
}

void FormatCrashBaseName(const LogClock& t, uint32_t processId, char* out, size_t size) {
  Bounded text(out, size);
  text.Add("crash-%04d%02d%02d-%02d%02d%02d-%u", t.year, t.month, t.day, t.hour, t.minute, t.second, processId);
}

void FormatCrashText(const CrashFacts& f, char* out, size_t size) {
  Bounded text(out, size);
  const LogClock& t = f.time;
  text.Add("Veltrane crash report\r\n");
  text.Add("version: %s (%s)\r\n", f.version ? f.version : "?", f.platform ? f.platform : "?");
  text.Add("time: %04d-%02d-%02d %02d:%02d:%02d.%03d\r\n", t.year, t.month, t.day, t.hour, t.minute, t.second,
           t.millisecond);
  text.Add("process: %u, thread: %u\r\n", f.processId, f.threadId);
  text.Add("exception: %s (0x%08X)", CrashCodeName(f.code), f.code);
  if (f.accessKind >= 0) text.Add(", %s address 0x%llX", AccessText(f.accessKind), (unsigned long long)f.accessAddress);
  text.Add("\r\n");
  if (f.detail && *f.detail) text.Add("detail: %s\r\n", f.detail);
  text.Add("address: 0x%llX", (unsigned long long)f.address);
  if (f.module && *f.module) text.Add(" (%s+0x%llX)", f.module, (unsigned long long)f.moduleOffset);
  else text.Add(" (in no module)");
  text.Add("\r\n");
  if (f.dumpProblem) text.Add("minidump: not written: %s\r\n", f.dumpProblem);
  else text.Add("minidump: %s\r\n", f.dumpName ? f.dumpName : "?");
  if (f.logName) text.Add("log: %s\r\n", f.logName);
}

void FormatCrashBoxText(const char* folder, const char* baseName, const char* logName, char* out, size_t size) {
  Bounded text(out, size);
  const char* base = baseName ? baseName : "";
  text.Add("Veltrane 遇到严重错误，需要关闭。\r\n\r\n错误报告已保存在以下文件夹：\r\n%s\r\n\r\n", folder ? folder : "");
  text.Add("    %s.txt\r\n    %s.dmp\r\n", base, base);
  if (logName && *logName) text.Add("    %s\r\n\r\n其中的日志文件记录了本次已测得的线路数据。\r\n", logName);
  else text.Add("\r\n");
  text.Add("请将这些文件提供给技术支持人员。");
}

}  // namespace vt
