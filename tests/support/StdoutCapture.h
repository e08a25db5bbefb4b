// Captures what the process writes to standard output (the diagnostic log
// of the HTTP client and the engines) into a temporary file, for tests that
// check the log lines.
#pragma once

#include <string>

class StdoutCapture {
 public:
  StdoutCapture();
  ~StdoutCapture();
  StdoutCapture(const StdoutCapture&) = delete;
  StdoutCapture& operator=(const StdoutCapture&) = delete;
  // Everything written since the capture started (the capture goes on).
  std::string Text();

 private:
  int saved_ = -1;
  std::string path_;
};
