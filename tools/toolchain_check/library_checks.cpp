#include "tools/toolchain_check/library_checks.h"

#include <cstdio>
#include <cstring>
#include <csetjmp>
#include <ctime>

#include <jpeglib.h>
#include <minizip/unzip.h>
#include <zlib.h>

#include "tools/toolchain_check/samples.h"

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void onJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

bool near(const unsigned char* px, int r, int g, int b) {
  auto close = [](int a, int e) { return a > e - 40 && a < e + 40; };
  return close(px[0], r) && close(px[1], g) && close(px[2], b);
}

}  // namespace

CheckResult checkJpeg(DecodedPicture& out) {
  jpeg_decompress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = onJpegError;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return {false, "libjpeg: decoding failed"};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, const_cast<unsigned char*>(kSampleJpeg), kSampleJpeg_size);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = info.output_width;
  out.height = info.output_height;
  out.rgb.assign(out.width * out.height * 3, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &out.rgb[info.output_scanline * out.width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  const unsigned char* mid = &out.rgb[(out.height / 2) * out.width * 3];
  bool ok = out.width == 16 && out.height == 16 && near(mid + 2 * 3, 40, 40, 200) &&
            near(mid + 13 * 3, 200, 40, 40);
  return {ok, "libjpeg: 16x16, blue left and red right: " + std::string(ok ? "ok" : "WRONG")};
}

CheckResult checkZlib() {
  const char text[] = "The quick brown fox jumps over the lazy dog";
  // The published CRC-32 of this sentence.
  bool crcOk = crc32(0, reinterpret_cast<const Bytef*>(text), sizeof text - 1) == 0x414FA339u;
  Bytef packed[128], unpacked[128];
  uLongf packedSize = sizeof packed, unpackedSize = sizeof unpacked;
  bool roundTrip =
      compress(packed, &packedSize, reinterpret_cast<const Bytef*>(text), sizeof text) == Z_OK &&
      uncompress(unpacked, &unpackedSize, packed, packedSize) == Z_OK &&
      unpackedSize == sizeof text && std::memcmp(unpacked, text, sizeof text) == 0;
  bool ok = crcOk && roundTrip;
  return {ok,
          std::string("zlib ") + zlibVersion() + ": crc32 and inflate: " + (ok ? "ok" : "WRONG")};
}

CheckResult checkMinizip() {
  char path[L_tmpnam + 16];
  std::snprintf(path, sizeof path, "toolchain-check-%u.zip",
                static_cast<unsigned>(std::time(nullptr)));
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(kSampleZip, 1, kSampleZip_size, f);
    std::fclose(f);
  } else {
    return {false, "minizip: cannot write the sample zip"};
  }
  std::string content;
  unzFile zip = unzOpen(path);
  if (zip && unzLocateFile(zip, "hello.txt", 0) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
    char buf[256];
    int n;
    while ((n = unzReadCurrentFile(zip, buf, sizeof buf)) > 0) content.append(buf, n);
    unzCloseCurrentFile(zip);
  }
  if (zip) unzClose(zip);
  std::remove(path);
  std::string expected;
  for (int i = 0; i < 4; ++i) expected += "hello from the zip\n";
  bool ok = content == expected;
  return {ok, std::string("minizip: hello.txt read back: ") + (ok ? "ok" : "WRONG")};
}
