// Tokens of the inline text markup: tags in angle brackets or curly braces
// ("<b>", "{c #FFFFFF}", "</f>", "{/c}"), the four escapes "<{>", "<}>",
// "{<}", "{>}", runs of text, single spaces and line feeds.
//
// Constraints of the reader:
//  a) the text is in the system code page; every scan for a bracket steps
//     over whole double-byte characters (a GBK trail byte may be '{' or '}');
//  b) nothing is read at or beyond len, whatever the input;
//  c) a bracket that does not start a well-formed tag is ordinary text, so
//     "<开始测试>" prints as written;
//  d) every token but End consumes at least one byte.
#pragma once

#include <cstddef>

namespace vt {

enum class MarkupTokenKind {
  End,       // nothing left
  Text,      // a run of text: [pos, pos + len)
  Space,     // one blank outside raw sections
  LineFeed,  // "\n"
  Escape,    // an escaped bracket; the printed character is text[argPos]
  Open,      // opening tag: letter, argument [argPos, argPos + argLen)
  Close,     // closing tag: letter
};

struct MarkupToken {
  MarkupTokenKind kind = MarkupTokenKind::End;
  size_t pos = 0;  // first byte of the token
  size_t len = 0;  // bytes the token takes up in the text
  char letter = 0;
  size_t argPos = 0;
  size_t argLen = 0;
};

// The token at pos. Inside a raw section (raw true) only the end markers
// "</r>" and "{/r}" and line feeds are recognised; everything else is text.
MarkupToken ReadMarkupToken(const char* text, size_t len, size_t pos, bool raw);

}  // namespace vt
