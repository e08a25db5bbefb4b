#include "tests/support/StdoutCapture.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "tests/support/CommandDouble.h"

StdoutCapture::StdoutCapture() {
  char dir[MAX_PATH], file[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  GetTempFileNameA(dir, "vto", 0, file);
  path_ = file;
  fflush(stdout);
  saved_ = _dup(1);
  int fd = _open(file, _O_WRONLY | _O_TRUNC | _O_BINARY);
  if (fd >= 0) {
    _dup2(fd, 1);
    _close(fd);
  }
}

StdoutCapture::~StdoutCapture() {
  fflush(stdout);
  if (saved_ >= 0) {
    _dup2(saved_, 1);
    _close(saved_);
  }
  DeleteFileA(path_.c_str());
}

std::string StdoutCapture::Text() {
  fflush(stdout);
  std::string text;
  ReadWholeFile(path_, &text);
  return text;
}
