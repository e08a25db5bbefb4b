// The window messages by which the engines report to a window, and the codes
// they carry. Workers post numbers and pointers to process-wide texts; they
// send (and so wait for the handler) when the message points into their own
// memory. This is the one way from a worker to the UI thread.
#pragma once

#include <cstdint>

namespace vt {

constexpr uint32_t kWmUser = 0x0400;  // WM_USER
constexpr uint32_t kWmApp = 0x8000;   // WM_APP

enum AppMessage : uint32_t {
  MSG_DOWNLOAD_SAMPLE = kWmUser + 0,   // posted: bytes of the last interval
  MSG_DOWNLOAD_DONE = kWmUser + 1,     // posted: trimmed mean, bytes per interval
  MSG_UPLOAD_SAMPLE = kWmUser + 2,     // posted: mean upload rate, bytes/s
  MSG_UPLOAD_DONE = kWmUser + 3,       // posted: final upload rate, bytes/s
  MSG_APP_ITEM_RESULT = kWmApp + 102,  // posted: Mbit/s x 1000, item 1..7
  MSG_APP_TEST_DONE = kWmApp + 103,    // posted
  MSG_TROUBLE_RESULT = kWmApp + 106,   // code (DiagnosisCode), value
  MSG_TEST_NUMBER = kWmApp + 107,      // posted to the settings window
  MSG_TRACE_HOP = kWmApp + 108,        // sent: address text, delay ms (-1: none)
  MSG_TRACE_DONE = kWmApp + 109,       // sent: joined address list
  MSG_PING_REPLY = kWmApp + 110,       // sent: one reply time, ms
  MSG_PING_DONE = kWmApp + 111,        // sent: mean reply time, ms
  MSG_PING_FAILED = kWmApp + 112,      // sent: ping could not be started
  MSG_TRACE_FAILED = kWmApp + 113,     // sent: tracert could not be started
};

enum DiagnosisCode : uint32_t {
  TR_PUBLIC_IP = 1,
  TR_WAN_DELAY = 2,
  TR_LAN_DELAY = 3,
  TR_WAN_HOPS = 4,
  TR_LAN_HOPS = 5,
  TR_DONE = 16,
  // Posted instead of the results and TR_DONE when the trace gave no route
  // to analyse (the command did not start, or wrote no hop section).
  TR_FAILED = 17,
};

// The constant's name ("MSG_PING_DONE"), or nullptr for other numbers.
const char* AppMessageName(uint32_t message);

}  // namespace vt
