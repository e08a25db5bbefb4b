// Turning layout bytes into code-page text for the reader: byte-order marks,
// UTF-16 byte order, and the conversion hook (ANSI code page on Windows).
#include <cstring>

#include "ui/Core/SkinFiles.h"
#include "ui/Core/SkinXml.h"

namespace {

// Portable default: UTF-8 stays as it is; UTF-16LE becomes UTF-8 (unpaired
// surrogates become '?').
bool PortableConvert(const char* bytes, size_t len, int encoding, std::vector<char>& out) {
  out.clear();
  if (encoding != CSkinXml::kUtf16) {
    out.assign(bytes, bytes + len);
    return true;
  }
  const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
  size_t units = len / 2;
  out.reserve(len + len / 2);
  for (size_t i = 0; i < units; ++i) {
    unsigned cp = b[2 * i] | (b[2 * i + 1] << 8);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units) {
      unsigned lo = b[2 * i + 2] | (b[2 * i + 3] << 8);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        ++i;
      } else {
        cp = '?';
      }
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = '?';
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return true;
}

CSkinXml::Converter g_converter = PortableConvert;

}  // namespace

void CSkinXml::SetConverter(Converter converter) { g_converter = converter ? converter : PortableConvert; }

bool CSkinXml::LoadFromBytes(const char* bytes, size_t len, int encoding) {
  Release();
  if (!bytes || len == 0) {
    SetError("File is empty", 0);
    return false;
  }
  if (len > kMaxFileSize) {
    SetError("File too large", 0);
    return false;
  }
  std::vector<char> text;
  if (encoding == kUtf8) {
    if (len >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
      bytes += 3;
      len -= 3;
    }
    if (!g_converter(bytes, len, kUtf8, text)) {
      SetError("Could not convert file", 0);
      return false;
    }
  } else if (encoding == kUtf16) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    if (len < 2 || !((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
      SetError("File is not UTF-16", 0);
      return false;
    }
    std::vector<char> le(bytes + 2, bytes + len - ((len - 2) % 2));
    if (b[0] == 0xFE) {
      for (size_t i = 0; i + 1 < le.size(); i += 2) {
        char t = le[i];
        le[i] = le[i + 1];
        le[i + 1] = t;
      }
    }
    if (!g_converter(le.data(), le.size(), kUtf16, text)) {
      SetError("Could not convert file", 0);
      return false;
    }
  } else {
    text.assign(bytes, bytes + len);
  }
  return LoadFromText(text.data(), text.size());
}

bool CSkinXml::LoadFromFile(const char* name, int encoding) {
  Release();
  std::vector<char> bytes;
  const char* error = nullptr;
  if (!vt::ReadSkinFile(name, kMaxFileSize, bytes, &error)) {
    SetError(error, 0);
    return false;
  }
  return LoadFromBytes(bytes.data(), bytes.size(), encoding);
}
