#include "ui/Core/MarkupTokens.h"

#include <cstring>

#include "base/CodePage.h"

namespace vt {

namespace {

bool IsOpenBracket(char c) { return c == '<' || c == '{'; }
bool IsCloseBracket(char c) { return c == '>' || c == '}'; }
bool IsTagLetter(char c) { return c >= 'a' && c <= 'z'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Position of the first closing bracket at or after from (whole characters),
// len when there is none.
size_t FindCloseBracket(const char* text, size_t len, size_t from) {
  for (size_t i = from; i < len; i += CharSize(text, len, i)) {
    if (IsCloseBracket(text[i])) return i;
  }
  return len;
}

bool IsRawEnd(const char* text, size_t len, size_t pos) {
  if (len - pos < 4) return false;
  return memcmp(text + pos, "</r>", 4) == 0 || memcmp(text + pos, "{/r}", 4) == 0;
}

// The four escapes: "<{>" "<}>" "{<}" "{>}".
bool IsEscape(const char* text, size_t len, size_t pos) {
  if (len - pos < 3) return false;
  char a = text[pos], b = text[pos + 1], c = text[pos + 2];
  if (a == '<' && c == '>') return b == '{' || b == '}';
  if (a == '{' && c == '}') return b == '<' || b == '>';
  return false;
}

MarkupToken TextRun(const char* text, size_t len, size_t pos, bool raw) {
  MarkupToken t;
  t.kind = MarkupTokenKind::Text;
  t.pos = pos;
  // The first character always belongs to the run (it may be a bracket that
  // starts no tag).
  size_t i = pos + CharSize(text, len, pos);
  while (i < len) {
    char c = text[i];
    if (c == '\n') break;
    if (raw ? IsRawEnd(text, len, i) : IsOpenBracket(c)) break;
    i += CharSize(text, len, i);
  }
  t.len = i - pos;
  return t;
}

// A tag at pos (an opening bracket), or End when the text there is no tag.
MarkupToken Tag(const char* text, size_t len, size_t pos) {
  MarkupToken t;
  if (len - pos < 3) return t;
  char first = text[pos + 1];
  if (first == '/' && IsTagLetter(text[pos + 2])) {
    size_t close = FindCloseBracket(text, len, pos + 3);
    if (close == len) return t;
    t.kind = MarkupTokenKind::Close;
    t.letter = text[pos + 2];
    t.pos = pos;
    t.len = close + 1 - pos;
    return t;
  }
  char after = text[pos + 2];
  if (!IsTagLetter(first) || !(after == ' ' || IsCloseBracket(after))) return t;
  size_t close = FindCloseBracket(text, len, pos + 2);
  if (close == len) return t;
  size_t arg = pos + 2;
  while (arg < close && IsBlank(text[arg])) ++arg;
  t.kind = MarkupTokenKind::Open;
  t.letter = first;
  t.pos = pos;
  t.len = close + 1 - pos;
  t.argPos = arg;
  t.argLen = close - arg;
  return t;
}

}  // namespace

MarkupToken ReadMarkupToken(const char* text, size_t len, size_t pos, bool raw) {
  MarkupToken t;
  if (!text || pos >= len) return t;
  char c = text[pos];
  if (c == '\n') {
    t.kind = MarkupTokenKind::LineFeed;
    t.pos = pos;
    t.len = 1;
    return t;
  }
  if (raw) {
    if (IsRawEnd(text, len, pos)) {
      t.kind = MarkupTokenKind::Close;
      t.letter = 'r';
      t.pos = pos;
      t.len = 4;
      return t;
    }
    return TextRun(text, len, pos, true);
  }
  if (c == ' ') {
    t.kind = MarkupTokenKind::Space;
    t.pos = pos;
    t.len = 1;
    return t;
  }
  if (IsOpenBracket(c)) {
    if (IsEscape(text, len, pos)) {
      t.kind = MarkupTokenKind::Escape;
      t.pos = pos;
      t.len = 3;
      t.argPos = pos + 1;
      t.argLen = 1;
      return t;
    }
    MarkupToken tag = Tag(text, len, pos);
    if (tag.kind != MarkupTokenKind::End) return tag;
  }
  return TextRun(text, len, pos, false);
}

}  // namespace vt
