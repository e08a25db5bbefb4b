#include "base/Messages.h"

namespace vt {

const char* AppMessageName(uint32_t message) {
  switch (message) {
    case MSG_DOWNLOAD_SAMPLE: return "MSG_DOWNLOAD_SAMPLE";
    case MSG_DOWNLOAD_DONE: return "MSG_DOWNLOAD_DONE";
    case MSG_UPLOAD_SAMPLE: return "MSG_UPLOAD_SAMPLE";
    case MSG_UPLOAD_DONE: return "MSG_UPLOAD_DONE";
    case MSG_APP_ITEM_RESULT: return "MSG_APP_ITEM_RESULT";
    case MSG_APP_TEST_DONE: return "MSG_APP_TEST_DONE";
    case MSG_TROUBLE_RESULT: return "MSG_TROUBLE_RESULT";
    case MSG_TEST_NUMBER: return "MSG_TEST_NUMBER";
    case MSG_TRACE_HOP: return "MSG_TRACE_HOP";
    case MSG_TRACE_DONE: return "MSG_TRACE_DONE";
    case MSG_PING_REPLY: return "MSG_PING_REPLY";
    case MSG_PING_DONE: return "MSG_PING_DONE";
    case MSG_PING_FAILED: return "MSG_PING_FAILED";
    case MSG_TRACE_FAILED: return "MSG_TRACE_FAILED";
    default: return nullptr;
  }
}

}  // namespace vt
