#include "base/UIString.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/CodePage.h"

namespace {
char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

CUIString::CUIString() : data_(inline_), length_(0), capacity_(kInlineSize - 1) { inline_[0] = '\0'; }

CUIString::CUIString(const char* text) : CUIString() {
  if (text) Assign(text, strlen(text));
}

CUIString::CUIString(const char* text, size_t len) : CUIString() {
  if (text) Assign(text, len);
}

CUIString::CUIString(char ch) : CUIString() { Assign(&ch, 1); }

CUIString::CUIString(const CUIString& other) : CUIString() { Assign(other.data_, other.length_); }

CUIString::CUIString(CUIString&& other) noexcept : CUIString() { *this = static_cast<CUIString&&>(other); }

CUIString::~CUIString() {
  if (data_ != inline_) free(data_);
}

CUIString& CUIString::operator=(const CUIString& other) {
  if (this != &other) Assign(other.data_, other.length_);
  return *this;
}

CUIString& CUIString::operator=(CUIString&& other) noexcept {
  if (this == &other) return *this;
  if (other.data_ == other.inline_) {
    Assign(other.data_, other.length_);
  } else {
    if (data_ != inline_) free(data_);
    data_ = other.data_;
    length_ = other.length_;
    capacity_ = other.capacity_;
    other.data_ = other.inline_;
    other.capacity_ = kInlineSize - 1;
  }
  other.SetLength(0);
  return *this;
}

CUIString& CUIString::operator=(const char* text) {
  if (!text) {
    Empty();
  } else if (text >= data_ && text <= data_ + length_) {
    // Assigning a part of ourselves: copy through a temporary first.
    CUIString copy(text);
    *this = static_cast<CUIString&&>(copy);
  } else {
    Assign(text, strlen(text));
  }
  return *this;
}

CUIString& CUIString::operator=(char ch) {
  Assign(&ch, 1);
  return *this;
}

bool CUIString::Reserve(size_t length) {
  if (length > kMaxLength) return false;
  if (length <= capacity_) return true;
  size_t grown = capacity_ * 2;
  if (grown < length) grown = length;
  if (grown > kMaxLength) grown = kMaxLength;
  char* bigger = static_cast<char*>(malloc(grown + 1));
  if (!bigger) return false;
  memcpy(bigger, data_, length_ + 1);
  if (data_ != inline_) free(data_);
  data_ = bigger;
  capacity_ = grown;
  return true;
}

void CUIString::SetLength(size_t length) {
  length_ = length;
  data_[length_] = '\0';
}

void CUIString::Assign(const char* text, size_t len) {
  if (text >= data_ && text < data_ + length_ + 1 && len > 0) {
    CUIString copy(text, len);
    *this = static_cast<CUIString&&>(copy);
    return;
  }
  SetLength(0);
  Append(text, len);
}

void CUIString::Append(const char* text, size_t len) {
  if (!text || len == 0) return;
  if (text >= data_ && text < data_ + length_ + 1) {
    CUIString copy(text, len);  // appending part of ourselves survives a reallocation
    Append(copy.data_, copy.length_);
    return;
  }
  size_t room = kMaxLength - length_;
  if (len > room) len = vt::CharBoundaryAtOrBelow(text, len, room);
  if (!Reserve(length_ + len)) {
    // Out of memory: keep what fits in the current buffer.
    len = vt::CharBoundaryAtOrBelow(text, len, capacity_ - length_);
  }
  memcpy(data_ + length_, text, len);
  SetLength(length_ + len);
}

void CUIString::Append(const char* text) {
  if (text) Append(text, strlen(text));
}

CUIString& CUIString::operator+=(const CUIString& other) {
  Append(other.data_, other.length_);
  return *this;
}

CUIString& CUIString::operator+=(const char* text) {
  Append(text);
  return *this;
}

CUIString& CUIString::operator+=(char ch) {
  Append(&ch, 1);
  return *this;
}

CUIString CUIString::operator+(const CUIString& other) const {
  CUIString sum(*this);
  sum += other;
  return sum;
}

CUIString CUIString::operator+(const char* text) const {
  CUIString sum(*this);
  sum += text;
  return sum;
}

size_t CUIString::FormatV(const char* fmt, va_list args) {
  // The format or an argument may point into this string's own text
  // (s.Format("%s!", s.GetData())): the result is built in a string of its
  // own and moved in only when vsnprintf has read everything.
  CUIString result;
  result.FormatFresh(fmt, args);
  *this = static_cast<CUIString&&>(result);
  return length_;
}

void CUIString::FormatFresh(const char* fmt, va_list args) {
  if (!fmt) return;
  va_list probe;
  va_copy(probe, args);
  int needed = vsnprintf(nullptr, 0, fmt, probe);
  va_end(probe);
  if (needed <= 0) return;
  size_t want = static_cast<size_t>(needed);
  if (want > kMaxLength) want = kMaxLength;
  if (!Reserve(want)) want = capacity_;
  // vsnprintf writes at most want bytes plus the terminator; a longer result
  // is cut there, then pulled back to a whole character.
  vsnprintf(data_, want + 1, fmt, args);
  SetLength(want < static_cast<size_t>(needed) ? vt::WholeCharsOfCutText(data_, want) : want);
}

size_t CUIString::Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  size_t n = FormatV(fmt, args);
  va_end(args);
  return n;
}

size_t CUIString::AppendFormat(const char* fmt, ...) {
  CUIString piece;
  va_list args;
  va_start(args, fmt);
  piece.FormatFresh(fmt, args);
  va_end(args);
  Append(piece.data_, piece.length_);
  return length_;
}

void CUIString::Empty() {
  if (data_ != inline_) {
    free(data_);
    data_ = inline_;
    capacity_ = kInlineSize - 1;
  }
  SetLength(0);
}

int CUIString::Compare(const char* text) const { return strcmp(data_, text ? text : ""); }

int CUIString::CompareNoCase(const char* text) const {
  const char* a = data_;
  const char* b = text ? text : "";
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(ToLowerAscii(*a));
    unsigned char cb = static_cast<unsigned char>(ToLowerAscii(*b));
    if (ca != cb || ca == 0) return ca < cb ? -1 : (ca > cb ? 1 : 0);
  }
}

bool CUIString::operator==(const CUIString& other) const {
  return length_ == other.length_ && memcmp(data_, other.data_, length_) == 0;
}

size_t CUIString::Find(char ch, size_t from) const {
  size_t pos = vt::FindAsciiChar(data_, length_, ch, from);
  return pos < length_ ? pos : npos;
}

size_t CUIString::Find(const char* text, size_t from) const {
  if (!text) return npos;
  size_t n = strlen(text);
  if (n == 0) return from <= length_ ? from : npos;
  size_t pos = 0;
  while (pos + n <= length_) {
    if (pos >= from && memcmp(data_ + pos, text, n) == 0) return pos;
    pos += vt::CharSize(data_, length_, pos);
  }
  return npos;
}

CUIString CUIString::Left(size_t count) const {
  if (count > length_) count = length_;
  return CUIString(data_, count);
}

CUIString CUIString::Mid(size_t pos, size_t count) const {
  if (pos >= length_) return CUIString();
  if (count > length_ - pos) count = length_ - pos;
  return CUIString(data_ + pos, count);
}

CUIString CUIString::Right(size_t count) const {
  if (count > length_) count = length_;
  return CUIString(data_ + length_ - count, count);
}

size_t CUIString::Replace(const char* from, const char* to) {
  if (!from || !*from) return 0;
  if (!to) to = "";
  size_t fromLen = strlen(from);
  size_t toLen = strlen(to);
  CUIString result;
  size_t replaced = 0;
  size_t pos = 0;
  while (pos < length_) {
    if (pos + fromLen <= length_ && memcmp(data_ + pos, from, fromLen) == 0) {
      result.Append(to, toLen);
      pos += fromLen;
      ++replaced;
    } else {
      size_t step = vt::CharSize(data_, length_, pos);
      result.Append(data_ + pos, step);
      pos += step;
    }
  }
  if (replaced) *this = static_cast<CUIString&&>(result);
  return replaced;
}

void CUIString::MakeUpper() {
  for (size_t pos = 0; pos < length_; pos += vt::CharSize(data_, length_, pos))
    data_[pos] = ToUpperAscii(data_[pos]);
}

void CUIString::MakeLower() {
  for (size_t pos = 0; pos < length_; pos += vt::CharSize(data_, length_, pos))
    data_[pos] = ToLowerAscii(data_[pos]);
}
