// The opening that the stoppable GETs share (TimedDownload and the
// bandwidth download workers): Windows Sockets start-up, socket, host
// lookup, connect, and the GET request in one send, every wait giving way
// to the stop (Socket_win.h).
#pragma once

#include "net/http/Socket_win.h"
#include "net/http/TransferJob.h"
#include "net/http/Url.h"

namespace vt {

// Returns Ok once the request is sent, or the RequestResult of the step that
// failed (StartupFailed, HostNotFound, ConnectFailed logged "connnect
// failed", SendFailed logged "send err"). *stopped is set when the stop
// came before the request was out: the caller has nothing left to do.
int32_t OpenStoppableGet(StoppableSocket& s, const UrlParts& url, bool* stopped);

}  // namespace vt
