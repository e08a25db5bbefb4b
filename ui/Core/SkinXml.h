// CSkinXml: the toolkit's lenient reader for layout documents.
//
// The document text (already in the system code page) is parsed in place:
// names, values and texts are terminated inside the text and the element
// records hold offsets into it, so reading a node allocates nothing.
// Element index 0 means "none"; the first element parsed is index 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CSkinXml;

class CSkinXmlNode {
 public:
  static constexpr int kMaxAttributes = 64;

  CSkinXmlNode() = default;
  CSkinXmlNode(const CSkinXml* doc, uint32_t index) : doc_(doc), index_(index) {}

  bool IsValid() const { return doc_ != nullptr && index_ != 0; }
  const char* GetName() const;
  const char* GetText() const;
  CSkinXmlNode GetParent() const;
  CSkinXmlNode GetChild() const;
  CSkinXmlNode GetSibling() const;
  bool HasChildren() const { return GetChild().IsValid(); }
  int GetAttributeCount() const;
  const char* GetAttributeName(int index) const;          // null out of range
  const char* GetAttributeValue(int index) const;         // null out of range
  const char* GetAttributeValue(const char* name) const;  // null when absent
  bool HasAttribute(const char* name) const { return GetAttributeValue(name) != nullptr; }

 private:
  const CSkinXml* doc_ = nullptr;
  uint32_t index_ = 0;
};

class CSkinXml {
 public:
  static constexpr size_t kMaxFileSize = 4u * 1024 * 1024;  // bytes of a layout file or entry
  static constexpr size_t kMaxText = 2 * kMaxFileSize;      // decoded text (code-page text can grow)
  static constexpr size_t kMaxErrorMessage = 99;
  static constexpr size_t kMaxErrorLocation = 49;

  enum Encoding { kUtf8 = 0, kUtf16 = 1, kCodePage = 2 };

  // Converts layout bytes into system code-page text. The default converter
  // passes UTF-8 through and turns UTF-16 into UTF-8 (the portable build's
  // "code page"); the Windows layer installs one that converts to the ANSI
  // code page. Returns false when the bytes cannot be converted.
  using Converter = bool (*)(const char* bytes, size_t len, int encoding, std::vector<char>& out);
  static void SetConverter(Converter converter);

  CSkinXml() = default;
  CSkinXml(const CSkinXml&) = delete;
  CSkinXml& operator=(const CSkinXml&) = delete;

  bool LoadFromText(const char* text);
  bool LoadFromText(const char* text, size_t len);
  bool LoadFromBytes(const char* bytes, size_t len, int encoding);
  // Reads name through the registered skin archive or from the skin path
  // (SkinFiles.h) and decodes it with the given encoding.
  bool LoadFromFile(const char* name, int encoding = kUtf8);
  void Release();

  bool IsValid() const { return elements_.size() > 1; }
  CSkinXmlNode GetRoot() const { return CSkinXmlNode(IsValid() ? this : nullptr, IsValid() ? 1 : 0); }
  const char* GetLastErrorMessage() const { return errorMessage_; }
  const char* GetLastErrorLocation() const { return errorLocation_; }

 private:
  friend class CSkinXmlNode;
  friend class SkinXmlParser;

  struct Element {
    uint32_t name;    // offset of the name
    uint32_t parent;  // element indexes, 0 = none
    uint32_t child;
    uint32_t next;
    uint32_t text;       // offset of the text, 0 = none
    uint32_t firstAttr;  // index into attrs_
    uint32_t attrCount;
  };
  struct Attribute {
    uint32_t name;  // offsets into text_
    uint32_t value;
  };

  void SetError(const char* message, size_t pos);
  bool Parse();

  std::vector<char> text_;  // zero-terminated text the offsets point into
  std::vector<Element> elements_;
  std::vector<Attribute> attrs_;
  char errorMessage_[kMaxErrorMessage + 1] = {};
  char errorLocation_[kMaxErrorLocation + 1] = {};
};
