// Crash reports, end to end: crash-probe.exe (tests/windows/crash/probe)
// fails on purpose in each way the reporter handles; this test closes the
// one message box it shows, as a user would, and then reads what it left:
// the minidump (by our own small reader: signature, exception stream,
// module list), the short text and the log.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/CrashText.h"
#include "tests/support/SkinTestKit.h"
#include "tests/support/TempFolder.h"

namespace {

struct Outcome {
  DWORD exitCode = 0;
  bool ended = false;
  int boxes = 0;
  std::string boxText, boxCaption;
};

std::string Folder(const char* kind) {
  return wintest::EmptyTempFolder(std::string("veltrane-crash-") + kind);
}

std::vector<std::string> Files(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string ReadFile(const std::string& path) {
  std::string out;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    fclose(f);
  }
  return out;
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM arg) {
  auto* s = reinterpret_cast<Search*>(arg);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[32] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == s->processId && IsWindowVisible(hwnd) && strcmp(cls, "#32770") == 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The box as the screen shows it, for people to look at.
void SaveBox(HWND box, const char* name) {
  RECT r;
  GetWindowRect(box, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = w;
  bmi.bmiHeader.biHeight = -h;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> rgba;
  for (int i = 0; i < w * h; ++i) rgba.push_back(static_cast<uint32_t*>(bits)[i] << 8 | 0xFF);  // BGRX -> RGBA
  CreateDirectoryA(VT_ARTEFACT_DIR, nullptr);
  std::string png = skintest::Png(w, h, rgba);
  if (FILE* f = fopen((std::string(VT_ARTEFACT_DIR) + "/" + name + ".png").c_str(), "wb")) {
    fwrite(png.data(), 1, png.size(), f);
    fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

// Runs the probe; closes every box it shows (counting them) until it ends
// or 60 s pass.
Outcome RunProbe(const std::string& folder, const char* kind, const char* screenshot) {
  Outcome out;
  std::string command = std::string("\"") + VT_CRASH_PROBE + "\" \"" + folder + "\" " + kind;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return out;
  HWND closed = nullptr;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 60000) {
    if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) {
      out.ended = true;
      break;
    }
    Search s{pi.dwProcessId, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
    if (!s.found || (s.found == closed && IsWindow(closed))) continue;
    ++out.boxes;
    char text[2048] = {}, caption[256] = {};
    GetDlgItemTextA(s.found, 0xFFFF, text, sizeof text);
    GetWindowTextA(s.found, caption, sizeof caption);
    out.boxText = text;
    out.boxCaption = caption;
    if (screenshot) {
      Sleep(300);  // painted
      SaveBox(s.found, screenshot);
    }
    PostMessageA(s.found, WM_COMMAND, IDOK, 0);
    closed = s.found;
  }
  if (!out.ended) TerminateProcess(pi.hProcess, 99);
  GetExitCodeProcess(pi.hProcess, &out.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return out;
}

struct Minidump {
  bool signature = false;
  bool exceptionStream = false;
  uint32_t exceptionCode = 0;
  bool moduleList = false;
};

uint32_t Read32(const std::string& d, size_t at) {
  if (at + 4 > d.size()) return 0;
  return static_cast<uint8_t>(d[at]) | static_cast<uint8_t>(d[at + 1]) << 8 | static_cast<uint8_t>(d[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(d[at + 3])) << 24;
}

// MINIDUMP_HEADER: "MDMP", version 0xA793 in its low word, the stream
// count and the directory's offset; each directory entry: type, size,
// offset. The exception stream (6) holds the thread id, padding, then the
// exception code; the module list is stream 4.
Minidump ReadMinidump(const std::string& d) {
  Minidump m;
  m.signature = d.size() >= 32 && d.compare(0, 4, "MDMP") == 0 && (Read32(d, 4) & 0xFFFF) == 0xA793;
  if (!m.signature) return m;
  uint32_t streams = Read32(d, 8), dir = Read32(d, 12);
  for (uint32_t i = 0; i < streams && i < 64; ++i) {
    uint32_t type = Read32(d, dir + 12 * i), size = Read32(d, dir + 12 * i + 4), rva = Read32(d, dir + 12 * i + 8);
    if (type == 6 && size >= 12) {
      m.exceptionStream = true;
      m.exceptionCode = Read32(d, rva + 8);
    }
    if (type == 4 && size >= 4 && Read32(d, rva) > 0) m.moduleList = true;
  }
  return m;
}

struct Case {
  const char* kind;
  uint32_t code;
  const char* detail;  // in the text besides the code's name, or null
  int boxes;
};

class CrashReport : public ::testing::TestWithParam<Case> {};

TEST_P(CrashReport, LeavesDumpTextAndLogAndEndsOnce) {
  const Case& c = GetParam();
  std::string folder = Folder(c.kind);
  bool shot = strcmp(c.kind, "access") == 0;
  Outcome out = RunProbe(folder, c.kind, shot ? "crash-box" : nullptr);
  ASSERT_TRUE(out.ended) << "the probe did not end within 60 s";
  EXPECT_EQ(out.exitCode, c.code);
  EXPECT_EQ(out.boxes, c.boxes);

  // One report: one text, one dump.
  std::vector<std::string> texts = Files(folder, "crash-*.txt"), dumps = Files(folder, "crash-*.dmp");
  ASSERT_EQ(texts.size(), 1u);
  ASSERT_EQ(dumps.size(), 1u);
  std::string base = texts[0].substr(0, texts[0].size() - 4);
  EXPECT_EQ(dumps[0], base + ".dmp");

  Minidump dump = ReadMinidump(ReadFile(folder + "\\" + dumps[0]));
  EXPECT_TRUE(dump.signature);
  EXPECT_TRUE(dump.exceptionStream);
  EXPECT_EQ(dump.exceptionCode, c.code);
  EXPECT_TRUE(dump.moduleList);

  std::string text = ReadFile(folder + "\\" + texts[0]);
  char codeLine[96];
  snprintf(codeLine, sizeof codeLine, "exception: %s (0x%08X)", vt::CrashCodeName(c.code), c.code);
  EXPECT_NE(text.find(codeLine), std::string::npos) << text;
  if (c.detail) {
    EXPECT_NE(text.find(c.detail), std::string::npos) << text;
  }
  EXPECT_NE(text.find("minidump: " + base + ".dmp\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("version: "), std::string::npos) << text;

  std::vector<std::string> logs = Files(folder, "veltrane-*.log");
  ASSERT_EQ(logs.size(), 1u);
  std::string log = ReadFile(folder + "\\" + logs[0]);
  EXPECT_NE(log.find("] probe: bandwidth test end, download 93.50 Mbps"), std::string::npos) << log;
  EXPECT_NE(text.find("log: " + logs[0] + "\r\n"), std::string::npos) << text;
  if (c.boxes == 1) {
    EXPECT_NE(log.find(std::string("] crash: ") + vt::CrashCodeName(c.code)), std::string::npos) << log;
    EXPECT_STREQ(out.boxCaption.c_str(), vt::kCrashBoxCaption);
    EXPECT_NE(out.boxText.find(folder), std::string::npos) << out.boxText;
    EXPECT_NE(out.boxText.find(base + ".dmp"), std::string::npos) << out.boxText;
    EXPECT_NE(out.boxText.find(logs[0]), std::string::npos) << out.boxText;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, CrashReport,
    ::testing::Values(Case{"access", 0xC0000005u, ", writing address 0x0\r\n", 1},
                      Case{"divide", 0xC0000094u, nullptr, 1},
                      Case{"stack", 0xC00000FDu, nullptr, 1},
                      Case{"terminate", vt::kCrashTerminate, "detail: uncaught exception: probe: nobody catches this", 1},
                      Case{"invalid-parameter", vt::kCrashInvalidParameter, nullptr, 1},
                      Case{"purecall", vt::kCrashPureCall, nullptr, 1},
                      // Two threads fail together: one report, one box.
                      Case{"two-threads", 0xC0000005u, nullptr, 1},
                      // The report's own log line fails: the process ends
                      // at once with the files written, no box, no loop.
                      Case{"again", 0xC0000005u, nullptr, 0}),
    [](const ::testing::TestParamInfo<Case>& info) {
      std::string name = info.param.kind;
      for (char& ch : name)
        if (ch == '-') ch = '_';
      return name;
    });

}  // namespace
