// tracert for Wine, which ships none: the lab and the demo install it into
// the Wine prefix's system32 (scripts/services.sh, install_tracert_standin).
// It takes the options of the Windows command and writes its line forms, in
// Chinese (GBK) when the ANSI code page is 936 and in English otherwise:
//
//   <empty line>
//   Tracing route to 127.0.80.1 over a maximum of 30 hops
//   <empty line>
//     1    <1 ms    <1 ms    <1 ms  127.0.80.1
//   <empty line>
//   Trace complete.
//
// Each hop sends three ICMP echo requests with the hop number as TTL
// (IcmpSendEcho); a router answers "TTL expired in transit" (11013), the
// target an echo reply, which ends the trace. Names are never resolved back
// from addresses (as with -d).
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Texts {
  bool chinese;
  const char* below1;         // a probe column under one millisecond
  const char* timedOut;
  const char* complete;
  const char* unresolved;
};

const Texts kEnglish = {
    false,
    "    <1 ms",
    "  Request timed out.\r\n",
    "\r\nTrace complete.\r\n",
    "Unable to resolve target system name %s.\r\n",
};

const Texts kChinese = {
    true,
    "    <1 毫秒",
    "  请求超时。\r\n",
    "\r\n跟踪完成。\r\n",
    "无法解析目标系统名称 %s。\r\n",
};

const char kUsage[] =
    "\r\nUsage: tracert [-d] [-h maximum_hops] [-j host-list] [-w timeout]\r\n"
    "               [-R] [-S srcaddr] [-4] [-6] target_name\r\n";

struct Options {
  int maxHops = 30;
  DWORD timeoutMs = 4000;
  const char* target = nullptr;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (a[0] != '-' && a[0] != '/') {
      if (o.target) return false;
      o.target = a;
      continue;
    }
    char opt = a[1];
    if (opt == 'd' || opt == 'R' || opt == '4') continue;
    if ((opt == 'h' || opt == 'w' || opt == 'j' || opt == 'S') && i + 1 < argc) {
      const char* value = argv[++i];
      if (opt == 'h') o.maxHops = atoi(value);
      if (opt == 'w') o.timeoutMs = static_cast<DWORD>(strtoul(value, nullptr, 10));
      continue;
    }
    return false;  // -6 and unknown options
  }
  return o.target && o.maxHops >= 1 && o.maxHops <= 255;
}

// The three lines before the first hop; a name adds one (name and address).
void PrintHeader(const Texts& t, int maxHops, const char* name, const char* address) {
  if (t.chinese && name)
    printf("\r\n通过最多 %d 个跃点跟踪\r\n到 %s [%s] 的路由:\r\n\r\n", maxHops, name, address);
  else if (t.chinese)
    printf("\r\n通过最多 %d 个跃点跟踪到 %s 的路由\r\n\r\n", maxHops, address);
  else if (name)
    printf("\r\nTracing route to %s [%s]\r\nover a maximum of %d hops:\r\n\r\n", name, address, maxHops);
  else
    printf("\r\nTracing route to %s over a maximum of %d hops\r\n\r\n", address, maxHops);
}

void FormatAddress(IPAddr address, char (&out)[16]) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(&address);
  snprintf(out, sizeof out, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
}

bool Resolve(const char* target, IPAddr& address, bool& numeric) {
  in_addr a;
  if (inet_pton(AF_INET, target, &a) == 1) {
    address = a.s_addr;
    numeric = true;
    return true;
  }
  numeric = false;
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (getaddrinfo(target, nullptr, &hints, &found) != 0 || !found) return false;
  address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(found);
  return true;
}

// One hop: three probes with this TTL. Returns true when the target answered.
bool TraceHop(HANDLE icmp, IPAddr target, int ttl, DWORD timeoutMs, const Texts& t) {
  printf("%3d", ttl);
  char payload[32];
  memset(payload, 'a', sizeof payload);
  IPAddr from = 0;
  bool answered = false, reached = false;
  for (int probe = 0; probe < 3; ++probe) {
    IP_OPTION_INFORMATION options = {};
    options.Ttl = static_cast<UCHAR>(ttl);
    char reply[sizeof(ICMP_ECHO_REPLY) + sizeof payload + 64];
    DWORD count = IcmpSendEcho(icmp, target, payload, sizeof payload, &options, reply, sizeof reply, timeoutMs);
    const auto* r = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply);
    if (count > 0 && (r->Status == IP_SUCCESS || r->Status == IP_TTL_EXPIRED_TRANSIT)) {
      if (r->RoundTripTime < 1)
        printf("%s", t.below1);
      else
        printf("  %4lu ms", static_cast<unsigned long>(r->RoundTripTime));
      from = r->Address;
      answered = true;
      if (r->Status == IP_SUCCESS) reached = true;
    } else {
      printf("     *   ");
    }
    fflush(stdout);
  }
  if (answered) {
    char text[16];
    FormatAddress(from, text);
    printf("  %s \r\n", text);
  } else {
    printf("%s", t.timedOut);
  }
  fflush(stdout);
  return reached;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // the line ends are written as CR LF
  const Texts& t = GetACP() == 936 ? kChinese : kEnglish;
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    printf("%s", kUsage);
    return 1;
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  IPAddr target = 0;
  bool numeric = false;
  if (!Resolve(o.target, target, numeric)) {
    printf(t.unresolved, o.target);
    return 1;
  }
  char address[16];
  FormatAddress(target, address);
  PrintHeader(t, o.maxHops, numeric ? nullptr : o.target, address);
  fflush(stdout);

  HANDLE icmp = IcmpCreateFile();
  if (icmp == INVALID_HANDLE_VALUE) {
    printf("Unable to contact IP driver. Error code %lu.\r\n", GetLastError());
    return 1;
  }
  for (int ttl = 1; ttl <= o.maxHops; ++ttl)
    if (TraceHop(icmp, target, ttl, o.timeoutMs, t)) break;
  IcmpCloseHandle(icmp);
  printf("%s", t.complete);
  fflush(stdout);
  WSACleanup();
  return 0;
}
