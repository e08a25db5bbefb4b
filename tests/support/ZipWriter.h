// A tiny zip writer for tests: stored or deflated entries, optionally with a
// wrong checksum, so archive reading can be tested without binary fixtures.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testzip {

struct Entry {
  std::string name;
  std::string data;
  bool deflate = true;
  bool badCrc = false;
};

inline void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

inline std::string Deflate(const std::string& data) {
  z_stream z = {};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

inline std::string Build(const std::vector<Entry>& entries) {
  std::string out, central;
  for (const Entry& e : entries) {
    uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(e.data.data()),
                                               static_cast<uInt>(e.data.size())));
    if (e.badCrc) crc ^= 1;
    std::string body = e.deflate ? Deflate(e.data) : e.data;
    uint32_t offset = static_cast<uint32_t>(out.size());
    uint16_t method = e.deflate ? 8 : 0;
    Put32(out, 0x04034b50);
    Put16(out, 20);
    Put16(out, 0);
    Put16(out, method);
    Put32(out, 0);
    Put32(out, crc);
    Put32(out, static_cast<uint32_t>(body.size()));
    Put32(out, static_cast<uint32_t>(e.data.size()));
    Put16(out, static_cast<uint32_t>(e.name.size()));
    Put16(out, 0);
    out += e.name;
    out += body;
    Put32(central, 0x02014b50);
    Put16(central, 20);
    Put16(central, 20);
    Put16(central, 0);
    Put16(central, method);
    Put32(central, 0);
    Put32(central, crc);
    Put32(central, static_cast<uint32_t>(body.size()));
    Put32(central, static_cast<uint32_t>(e.data.size()));
    Put16(central, static_cast<uint32_t>(e.name.size()));
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put32(central, 0);
    Put32(central, offset);
    central += e.name;
  }
  uint32_t centralOffset = static_cast<uint32_t>(out.size());
  out += central;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put32(out, static_cast<uint32_t>(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return out;
}

}  // namespace testzip
