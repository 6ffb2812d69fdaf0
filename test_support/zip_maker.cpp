#include "test_support/zip_maker.h"

#include <zlib.h>

namespace test_support {
namespace {

void put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// The fields that the local header and the central directory share, from the version
// needed to the extra field's length.
void putEntryFields(std::string& out, const ZipEntry& e, std::uint16_t method, std::uint32_t crc,
                    std::size_t storedSize) {
  put16(out, 20);
  put16(out, 0);
  put16(out, method);
  put16(out, e.dosTime);
  put16(out, e.dosDate);
  put32(out, crc);
  put32(out, static_cast<std::uint32_t>(storedSize));
  put32(out, static_cast<std::uint32_t>(e.data.size()));
  put16(out, static_cast<std::uint32_t>(e.name.size()));
  put16(out, 0);
}

std::string deflateRaw(const std::string& data) {
  z_stream z = {};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(&out[0]);
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

}  // namespace

std::string makeZip(const std::vector<ZipEntry>& entries) {
  std::string file, directory;
  for (const ZipEntry& e : entries) {
    std::string stored = e.deflate ? deflateRaw(e.data) : e.data;
    // A final block of the reserved type: inflate stops with a data error.
    if (e.damaged) stored = std::string("\x07", 1) + stored;
    std::uint32_t crc =
        crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size()));
    if (e.wrongCrc) crc ^= 0x5A5A5A5A;
    const std::uint16_t method = e.deflate ? 8 : 0;

    const auto offset = static_cast<std::uint32_t>(file.size());
    put32(file, 0x04034B50);
    putEntryFields(file, e, method, crc, stored.size());
    file += e.name + stored;

    put32(directory, 0x02014B50);
    put16(directory, e.madeBy);
    putEntryFields(directory, e, method, crc, stored.size());
    put16(directory, 0);
    put16(directory, 0);
    put16(directory, 0);
    put32(directory, e.externalAttributes);
    put32(directory, offset);
    directory += e.name;
  }
  const auto directoryAt = static_cast<std::uint32_t>(file.size());
  file += directory;
  put32(file, 0x06054B50);
  put16(file, 0);
  put16(file, 0);
  put16(file, static_cast<std::uint32_t>(entries.size()));
  put16(file, static_cast<std::uint32_t>(entries.size()));
  put32(file, static_cast<std::uint32_t>(directory.size()));
  put32(file, directoryAt);
  put16(file, 0);
  return file;
}

}  // namespace test_support
