// The layout reader. Constraints it keeps:
//  a) it works in place: names, values and texts are terminated inside text_;
//     a delimiter that gets overwritten by a terminator is kept in one saved
//     slot, which is enough because parsing only moves forward;
//  b) it never recurses: the element records carry their parent, so closing
//     an element walks back up without a stack (deep input cannot overflow);
//  c) every read is bounded by the text length; the text also ends in a zero;
//  d) the delimiters it looks for ('<', '>', '"', '=', '&', '/', '?', '!',
//     '-') are all below 0x40, so none of them can be the trail byte of a
//     double-byte character: a byte scan finds only real delimiters.
#include "ui/Core/SkinXml.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsBlank(unsigned char c) { return c >= 1 && c <= 32; }
bool IsNameChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':';
}

}  // namespace

class SkinXmlParser {
 public:
  explicit SkinXmlParser(CSkinXml& doc) : doc_(doc), t_(doc.text_.data()), len_(doc.text_.size() - 1) {}

  bool Run();

 private:
  // The byte at pos, seeing through the one saved terminator.
  unsigned char Ch(size_t pos) const {
    if (pos >= len_) return 0;
    return static_cast<unsigned char>(pos == savedPos_ ? savedChar_ : t_[pos]);
  }
  void Terminate(size_t pos) {
    if (pos >= len_) return;  // the final zero already ends it
    savedPos_ = pos;
    savedChar_ = t_[pos];
    t_[pos] = '\0';
  }
  void SkipBlanks() {
    while (pos_ < len_ && IsBlank(Ch(pos_))) ++pos_;
  }
  bool Fail(const char* message) {
    doc_.SetError(message, pos_);
    return false;
  }
  bool SkipDeclaration();
  bool ParseStartTag(bool& selfClosed);
  bool ParseAttributes(uint32_t element);
  bool ParseEndTag();
  size_t DecodeInPlace(size_t from, size_t to);  // returns the end of the decoded text
  uint32_t AddElement(uint32_t nameOffset);

  CSkinXml& doc_;
  char* t_;
  size_t len_;
  size_t pos_ = 0;
  size_t savedPos_ = static_cast<size_t>(-1);
  char savedChar_ = 0;
  uint32_t current_ = 0;             // element whose content is being read, 0 = top level
  std::vector<uint32_t> lastChild_;  // per element (index 0 = top level)
};

uint32_t SkinXmlParser::AddElement(uint32_t nameOffset) {
  std::vector<CSkinXml::Element>& els = doc_.elements_;
  if (els.size() == els.capacity()) els.reserve(els.size() + els.size() / 2 + 500);
  uint32_t index = static_cast<uint32_t>(els.size());
  CSkinXml::Element e = {nameOffset, current_, 0, 0, 0, static_cast<uint32_t>(doc_.attrs_.size()), 0};
  els.push_back(e);
  lastChild_.push_back(0);
  uint32_t prev = lastChild_[current_];
  if (prev == 0) {
    if (current_ != 0) els[current_].child = index;
  } else {
    els[prev].next = index;
  }
  lastChild_[current_] = index;
  return index;
}

size_t SkinXmlParser::DecodeInPlace(size_t from, size_t to) {
  static const struct {
    const char* name;
    size_t len;
    char ch;
  } kEntities[] = {
      {"&amp;", 5, '&'}, {"&lt;", 4, '<'}, {"&gt;", 4, '>'}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''}};
  size_t w = from;
  size_t r = from;
  while (r < to) {
    char c = static_cast<char>(Ch(r));
    if (c == '&') {
      bool decoded = false;
      for (const auto& ent : kEntities) {
        if (to - r >= ent.len && memcmp(t_ + r, ent.name, ent.len) == 0) {
          t_[w++] = ent.ch;
          r += ent.len;
          decoded = true;
          break;
        }
      }
      if (decoded) continue;
    }
    t_[w++] = c;
    ++r;
  }
  return w;
}

bool SkinXmlParser::SkipDeclaration() {
  // At "<!" or "<?": skip to the next "->" or "?>"; an unended one runs to the end.
  char first = static_cast<char>(Ch(pos_ + 1));
  char marker = first == '!' ? '-' : '?';
  size_t p = pos_ + 2;
  while (p + 1 < len_ && !(t_[p] == marker && t_[p + 1] == '>')) ++p;
  pos_ = p + 1 < len_ ? p + 2 : len_;
  return true;
}

bool SkinXmlParser::ParseAttributes(uint32_t element) {
  for (;;) {
    SkipBlanks();
    unsigned char c = Ch(pos_);
    // The tag's end (or the end of input) is the start-tag reader's business.
    if (c == '>' || c == '/' || pos_ >= len_) return true;
    if (!IsNameChar(c)) return Fail("Error while parsing attributes");
    size_t name = pos_;
    while (IsNameChar(Ch(pos_))) ++pos_;
    size_t nameEnd = pos_;
    SkipBlanks();
    if (Ch(pos_) != '=') return Fail("Expected attribute value");
    ++pos_;
    SkipBlanks();
    if (Ch(pos_) != '"') return Fail("Expected attribute value");
    size_t value = ++pos_;
    while (pos_ < len_ && t_[pos_] != '"') ++pos_;
    if (pos_ >= len_) return Fail("Error while parsing attribute string");
    size_t valueEnd = DecodeInPlace(value, pos_);
    t_[valueEnd] = '\0';  // at or before the closing quote, which has been read
    ++pos_;
    t_[nameEnd] = '\0';  // a blank or the '=', both already read
    CSkinXml::Element& e = doc_.elements_[element];
    if (e.attrCount < static_cast<uint32_t>(CSkinXmlNode::kMaxAttributes)) {
      doc_.attrs_.push_back({static_cast<uint32_t>(name), static_cast<uint32_t>(value)});
      ++e.attrCount;
    }
  }
}

bool SkinXmlParser::ParseStartTag(bool& selfClosed) {
  // pos_ is just after '<'.
  size_t name = pos_;
  while (IsNameChar(Ch(pos_))) ++pos_;
  if (pos_ == name) return Fail("Error parsing element name");
  uint32_t element = AddElement(static_cast<uint32_t>(name));
  unsigned char after = Ch(pos_);
  if (after != '>' && after != '/' && !IsBlank(after) && pos_ < len_)
    return Fail("Error parsing element name");
  Terminate(pos_);
  if (IsBlank(after)) {
    ++pos_;
    if (!ParseAttributes(element)) return false;
  }
  if (Ch(pos_) == '/' && Ch(pos_ + 1) == '>') {
    pos_ += 2;
    selfClosed = true;
    return true;
  }
  if (Ch(pos_) != '>') return Fail("Expected start-tag closing");
  ++pos_;
  selfClosed = false;
  current_ = element;
  // The element's own text runs up to the next '<'.
  size_t text = pos_;
  while (pos_ < len_ && Ch(pos_) != '<') ++pos_;
  size_t end = DecodeInPlace(text, pos_);
  if (end == pos_) {
    Terminate(pos_);
  } else {
    t_[end] = '\0';
  }
  doc_.elements_[element].text = static_cast<uint32_t>(text);
  return true;
}

bool SkinXmlParser::ParseEndTag() {
  // pos_ is at "</".
  pos_ += 2;
  size_t name = pos_;
  while (IsNameChar(Ch(pos_))) ++pos_;
  size_t nameLen = pos_ - name;
  const char* open = t_ + doc_.elements_[current_].name;
  if (current_ == 0 || strlen(open) != nameLen || memcmp(open, t_ + name, nameLen) != 0) {
    pos_ = name;
    return Fail("Unmatched closing tag");
  }
  SkipBlanks();
  if (Ch(pos_) != '>') return Fail("Unmatched closing tag");
  ++pos_;
  current_ = doc_.elements_[current_].parent;
  return true;
}

bool SkinXmlParser::Run() {
  doc_.elements_.clear();
  doc_.attrs_.clear();
  doc_.elements_.reserve(500);
  doc_.elements_.push_back({0, 0, 0, 0, 0, 0, 0});
  lastChild_.assign(1, 0);
  for (;;) {
    // Content of current_: text that is not kept, declarations, tags.
    while (pos_ < len_ && Ch(pos_) != '<') {
      if (!IsBlank(Ch(pos_)) && current_ == 0) return Fail("Expected start tag");
      ++pos_;
    }
    if (pos_ >= len_) {
      if (current_ == 0 || current_ == 1) break;
      return Fail("Expected end-tag start");
    }
    unsigned char next = Ch(pos_ + 1);
    if (next == '!' || next == '?') {
      SkipDeclaration();
      continue;
    }
    if (next == '/') {
      if (current_ == 0) return Fail("Expected start tag");
      if (!ParseEndTag()) return false;
      continue;
    }
    ++pos_;
    bool selfClosed = false;
    if (!ParseStartTag(selfClosed)) return false;
  }
  if (doc_.elements_.size() < 2) {
    pos_ = 0;
    return Fail("Expected start tag");
  }
  return true;
}

void CSkinXml::SetError(const char* message, size_t pos) {
  snprintf(errorMessage_, sizeof(errorMessage_), "%s", message);
  errorLocation_[0] = '\0';
  if (text_.empty()) return;
  size_t len = text_.size() - 1;
  if (pos > len) pos = len;
  size_t n = len - pos;
  if (n > kMaxErrorLocation) n = kMaxErrorLocation;
  // Cut at a whole character; a terminator inside ends the location early.
  size_t k = 0;
  while (k < n) {
    unsigned char c = static_cast<unsigned char>(text_[pos + k]);
    if (c == 0) break;
    size_t step = (c >= 0x81 && c <= 0xFE) ? 2 : 1;
    if (k + step > n || (step == 2 && text_[pos + k + 1] == 0)) break;
    k += step;
  }
  memcpy(errorLocation_, text_.data() + pos, k);
  errorLocation_[k] = '\0';
}

bool CSkinXml::Parse() {
  errorMessage_[0] = errorLocation_[0] = '\0';
  SkinXmlParser parser(*this);
  if (parser.Run()) return true;
  elements_.clear();
  attrs_.clear();
  text_.clear();
  return false;
}

bool CSkinXml::LoadFromText(const char* text) { return LoadFromText(text, text ? strlen(text) : 0); }

bool CSkinXml::LoadFromText(const char* text, size_t len) {
  Release();
  if (!text || len > kMaxText) {
    SetError(len > kMaxText ? "File too large" : "File is empty", 0);
    return false;
  }
  text_.assign(text, text + len);
  text_.push_back('\0');
  return Parse();
}

void CSkinXml::Release() {
  text_.clear();
  elements_.clear();
  attrs_.clear();
}

// ---- nodes ----

const char* CSkinXmlNode::GetName() const {
  return IsValid() ? doc_->text_.data() + doc_->elements_[index_].name : "";
}

const char* CSkinXmlNode::GetText() const {
  if (!IsValid() || doc_->elements_[index_].text == 0) return "";
  return doc_->text_.data() + doc_->elements_[index_].text;
}

CSkinXmlNode CSkinXmlNode::GetParent() const {
  return IsValid() ? CSkinXmlNode(doc_, doc_->elements_[index_].parent) : CSkinXmlNode();
}
CSkinXmlNode CSkinXmlNode::GetChild() const {
  return IsValid() ? CSkinXmlNode(doc_, doc_->elements_[index_].child) : CSkinXmlNode();
}
CSkinXmlNode CSkinXmlNode::GetSibling() const {
  return IsValid() ? CSkinXmlNode(doc_, doc_->elements_[index_].next) : CSkinXmlNode();
}

int CSkinXmlNode::GetAttributeCount() const {
  return IsValid() ? static_cast<int>(doc_->elements_[index_].attrCount) : 0;
}

const char* CSkinXmlNode::GetAttributeName(int index) const {
  if (index < 0 || index >= GetAttributeCount()) return nullptr;
  return doc_->text_.data() + doc_->attrs_[doc_->elements_[index_].firstAttr + index].name;
}

const char* CSkinXmlNode::GetAttributeValue(int index) const {
  if (index < 0 || index >= GetAttributeCount()) return nullptr;
  return doc_->text_.data() + doc_->attrs_[doc_->elements_[index_].firstAttr + index].value;
}

const char* CSkinXmlNode::GetAttributeValue(const char* name) const {
  if (!name) return nullptr;
  int n = GetAttributeCount();
  for (int i = 0; i < n; ++i) {
    if (strcmp(GetAttributeName(i), name) == 0) return GetAttributeValue(i);
  }
  return nullptr;
}
