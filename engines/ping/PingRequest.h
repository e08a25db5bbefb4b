// The request the main window hands to PingThread (engines/ping/PingThread_win.h).
#pragma once

#include <cstdint>

#include "base/UIString.h"

namespace vt {

struct PingRequest {
  void* window = nullptr;  // HWND that receives MSG_PING_REPLY and MSG_PING_DONE
  CUIString host;          // the address to ping (the platform server, no port)
  int32_t avgDelay = 0;    // written at the end: mean reply time in ms, 0 without
                           // replies, -1 no pipe, -2 the command did not start
};

}  // namespace vt
