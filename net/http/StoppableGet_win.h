// What the stoppable GETs share (TimedDownload and the bandwidth download
// workers): the opening (Windows Sockets start-up, socket, host lookup,
// connect, and the GET request in one send) and the receive loop, every
// wait giving way to the stop (Socket_win.h).
#pragma once

#include "net/http/HttpLog.h"
#include "net/http/Socket_win.h"
#include "net/http/TransferJob.h"
#include "net/http/Url.h"

namespace vt {

// Returns Ok once the request is sent, or the RequestResult of the step that
// failed (StartupFailed, HostNotFound, ConnectFailed logged "connnect
// failed", SendFailed logged "send err"). *stopped is set when the stop
// came before the request was out: the caller has nothing left to do.
int32_t OpenStoppableGet(StoppableSocket& s, const UrlParts& url, bool* stopped);

// Receives the reply to its end: until the peer closes, a receive fails
// (logged "recv err") or stop is set, which is looked at after every chunk.
// The reply is never parsed: onBytes(n) gets each chunk's size, header
// bytes and error pages included.
template <class OnBytes>
void ReceiveToEnd(StoppableSocket& s, const StopSignal& stop, char* buffer, int len, OnBytes onBytes) {
  for (;;) {
    int got = 0;
    StoppableSocket::Outcome o = s.Recv(buffer, len, &got);
    if (o == StoppableSocket::kFailed) {
      LogLine("recv err");
      return;
    }
    if (o == StoppableSocket::kStopped || got == 0) return;
    onBytes(static_cast<uint32_t>(got));
    if (stop.IsSignalled()) return;
  }
}

}  // namespace vt
