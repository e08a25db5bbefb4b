// CUIString: the toolkit's string. Bytes in the system code page, always
// ended by a zero byte, held in a small inline buffer until they outgrow it.
// Every string has a hard limit of kMaxLength bytes: what would pass it is
// cut at the last whole character (never inside a double-byte character).
#pragma once

#include <cstdarg>
#include <cstddef>

class CUIString {
 public:
  static constexpr size_t kInlineSize = 64;                // bytes, terminator included
  static constexpr size_t kMaxLength = 16u * 1024 * 1024;  // bytes, terminator excluded

  CUIString();
  CUIString(const char* text);  // NOLINT: implicit like the texts it replaces
  CUIString(const char* text, size_t len);
  CUIString(char ch);
  CUIString(const CUIString& other);
  CUIString(CUIString&& other) noexcept;
  ~CUIString();

  CUIString& operator=(const CUIString& other);
  CUIString& operator=(CUIString&& other) noexcept;
  CUIString& operator=(const char* text);
  CUIString& operator=(char ch);

  void Assign(const char* text, size_t len);
  void Append(const char* text, size_t len);
  void Append(const char* text);
  CUIString& operator+=(const CUIString& other);
  CUIString& operator+=(const char* text);
  CUIString& operator+=(char ch);
  CUIString operator+(const CUIString& other) const;
  CUIString operator+(const char* text) const;

  // printf-style formatting; the result replaces the contents (Format) or is
  // added to them (AppendFormat). Returns the new length. The format and the
  // arguments may point into the string itself.
  size_t Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  size_t AppendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  size_t FormatV(const char* fmt, va_list args);

  void Empty();
  bool IsEmpty() const { return length_ == 0; }
  size_t GetLength() const { return length_; }
  const char* GetData() const { return data_; }
  operator const char*() const { return data_; }  // NOLINT
  char GetAt(size_t index) const { return index < length_ ? data_[index] : '\0'; }

  int Compare(const char* text) const;
  int CompareNoCase(const char* text) const;  // ASCII letters only fold
  bool operator==(const char* text) const { return Compare(text) == 0; }
  bool operator!=(const char* text) const { return Compare(text) != 0; }
  bool operator==(const CUIString& other) const;
  bool operator!=(const CUIString& other) const { return !(*this == other); }

  // Searches step over double-byte characters; npos when not found.
  static constexpr size_t npos = static_cast<size_t>(-1);
  size_t Find(char ch, size_t from = 0) const;
  size_t Find(const char* text, size_t from = 0) const;
  CUIString Left(size_t count) const;
  CUIString Mid(size_t pos, size_t count = npos) const;
  CUIString Right(size_t count) const;
  // Replaces every occurrence of from by to; returns the number replaced.
  size_t Replace(const char* from, const char* to);
  void MakeUpper();  // ASCII letters only; trail bytes untouched
  void MakeLower();

 private:
  bool Reserve(size_t length);                      // false: the limit is reached
  void FormatFresh(const char* fmt, va_list args);  // into an empty string no argument points into
  void SetLength(size_t length);

  char* data_;
  size_t length_;
  size_t capacity_;  // bytes available, terminator excluded
  char inline_[kInlineSize];
};
