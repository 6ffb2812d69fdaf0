#pragma once
// A body sent with "Transfer-Encoding: chunked", read as it arrives. The size lines, their
// extensions, the line ends after each chunk and the trailer are framing; only the chunks'
// own bytes are data. The server is not trusted: a malformed frame ends the body as failed.
#include <cstddef>
#include <cstdint>

namespace download {

// The longest size line (digits, extensions and line end) and the longest trailer taken.
constexpr std::size_t kChunkLineLimit = 4096;
constexpr std::size_t kChunkTrailerLimit = 4096;

class ChunkedBody {
 public:
  // Reads `size` received bytes in place: their data bytes are moved to the front of
  // `bytes`, in order, and counted in the result. Bytes after the end of the body, and
  // every byte after a malformed frame, are no data.
  std::size_t decode(std::uint8_t* bytes, std::size_t size);

  // The last chunk and the trailer have been read.
  bool done() const { return state_ == State::Done; }
  bool failed() const { return state_ == State::Failed; }

 private:
  enum class State {
    Size,     // hex digits of the next chunk's size
    SizeEnd,  // blanks and extensions after the digits, up to the CR
    SizeLF,   // the LF that ends the size line
    Data,     // the chunk's bytes
    DataCR,   // the CR LF after a chunk
    DataLF,
    Trailer,    // trailer lines after the last chunk
    TrailerLF,  // the LF of a trailer line
    Done,
    Failed,
  };

  bool step(std::uint8_t byte);  // one framing byte; false on a malformed frame

  State state_ = State::Size;
  std::uint64_t left_ = 0;     // bytes of the current chunk still to come
  std::size_t digits_ = 0;     // digits read of the current size
  std::size_t lineBytes_ = 0;  // bytes of the current size line so far
  bool extension_ = false;     // past the ';' of the size line
  std::size_t trailerBytes_ = 0;
  bool trailerLineEmpty_ = true;
};

}  // namespace download
