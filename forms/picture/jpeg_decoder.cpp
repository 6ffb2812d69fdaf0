// JPEG through libjpeg's 6.2 API. libjpeg reports fatal errors by calling error_exit,
// which by default ends the process; ours longjmps back to decodeJpeg instead.
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>
#include <jerror.h>

#include "forms/picture/decoders.h"

namespace forms::picture_detail {
namespace {

// A progressive file may hold any number of scans, each one a full pass over the
// coefficients; a hostile one makes decoding take minutes. Real files have a dozen.
constexpr int kMaxScans = 256;
// libjpeg's own working memory (a progressive file buffers all its coefficients).
constexpr long kMaxLibjpegMemory = 256L * 1024 * 1024;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (such as extraneous bytes between markers) are harmless; stay quiet.
void onMessage(j_common_ptr) {}

void onProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) onError(cinfo);
}

// The whole file is in memory: the source hands it over at once, and running out of
// bytes is an error. libjpeg's default would insert an end marker and return a picture
// whose lower part is grey, which we would show as if it were the file.
void initSource(j_decompress_ptr) {}
boolean fillInput(j_decompress_ptr cinfo) {
  cinfo->err->msg_code = JERR_INPUT_EOF;
  onError(reinterpret_cast<j_common_ptr>(cinfo));
}
void skipInput(j_decompress_ptr cinfo, long n) {
  if (n <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  if (static_cast<unsigned long>(n) > src->bytes_in_buffer) fillInput(cinfo);
  src->next_input_byte += n;
  src->bytes_in_buffer -= static_cast<std::size_t>(n);
}
void termSource(j_decompress_ptr) {}

// Adobe writes CMYK inverted, and nearly every CMYK JPEG comes from Adobe software.
std::uint32_t fromInvertedCmyk(const JSAMPLE* p) {
  const unsigned k = p[3];
  return opaque(std::uint8_t(p[0] * k / 255), std::uint8_t(p[1] * k / 255),
                std::uint8_t(p[2] * k / 255));
}

// Everything that libjpeg touches lives here, apart from the C++ objects with
// destructors, which a longjmp would skip.
struct Decompressor {
  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  jpeg_source_mgr source{};
  jpeg_progress_mgr progress{};
};

bool run(Decompressor& d, ByteView bytes, std::vector<std::uint32_t>& pixels, int& width,
         int& height) {
  jpeg_decompress_struct& cinfo = d.cinfo;
  cinfo.err = jpeg_std_error(&d.errors.base);
  d.errors.base.error_exit = onError;
  d.errors.base.output_message = onMessage;
  d.errors.base.emit_message = [](j_common_ptr, int) {};
  if (setjmp(d.errors.jump)) return false;

  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
  d.progress.progress_monitor = onProgress;
  cinfo.progress = &d.progress;
  d.source.init_source = initSource;
  d.source.fill_input_buffer = fillInput;
  d.source.skip_input_data = skipInput;
  d.source.resync_to_restart = jpeg_resync_to_restart;
  d.source.term_source = termSource;
  d.source.next_input_byte = bytes.data();
  d.source.bytes_in_buffer = bytes.size();
  cinfo.src = &d.source;

  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (!fitsLimits(cinfo.image_width, cinfo.image_height)) return false;
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const unsigned w = cinfo.output_width, h = cinfo.output_height;
  const int channels = cinfo.output_components;
  // Unscaled, the output has the size checked above. libjpeg gives 3 components for RGB
  // and 4 for CMYK; the check stays because the row loop reads that many bytes per pixel.
  if (channels != (cmyk ? 4 : 3)) return false;

  // Rows go straight into the result: nothing between setjmp and here needs unwinding.
  pixels.assign(std::size_t(w) * h, 0);
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              w * channels, 1);
  while (cinfo.output_scanline < h) {
    const unsigned y = cinfo.output_scanline;
    if (jpeg_read_scanlines(&cinfo, row, 1) != 1) return false;
    std::uint32_t* out = pixels.data() + std::size_t(y) * w;
    const JSAMPLE* in = row[0];
    for (unsigned x = 0; x < w; ++x, in += channels)
      out[x] = cmyk ? fromInvertedCmyk(in) : opaque(in[0], in[1], in[2]);
  }
  jpeg_finish_decompress(&cinfo);
  width = int(w);
  height = int(h);
  return true;
}

}  // namespace

std::optional<Picture> decodeJpeg(ByteView bytes) {
  // The pixel buffer is made before the jump point and only filled after it, so a
  // longjmp out of libjpeg leaves it a valid (if partial) vector that we then drop.
  std::vector<std::uint32_t> pixels;
  int width = 0, height = 0;
  Decompressor d;
  const bool ok = run(d, bytes, pixels, width, height);
  jpeg_destroy_decompress(&d.cinfo);
  if (!ok) return std::nullopt;
  Picture picture;
  picture.kind = PictureKind::Jpeg;
  picture.width = width;
  picture.height = height;
  picture.frames.push_back(PictureFrame{std::move(pixels), 0});
  return picture;
}

}  // namespace forms::picture_detail
