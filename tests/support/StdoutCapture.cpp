#include "tests/support/StdoutCapture.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

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
  FILE* f = fopen(path_.c_str(), "rb");
  if (!f) return text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  fclose(f);
  return text;
}
