#include "download/chunked_body.h"

#include <algorithm>
#include <cstring>

namespace download {

namespace {

int hexDigit(std::uint8_t byte) {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
  return -1;
}

}  // namespace

std::size_t ChunkedBody::decode(std::uint8_t* bytes, std::size_t size) {
  std::size_t data = 0;
  std::size_t at = 0;
  while (at < size && state_ != State::Done && state_ != State::Failed) {
    if (state_ == State::Data) {
      std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(left_, size - at));
      std::memmove(bytes + data, bytes + at, take);
      data += take;
      at += take;
      left_ -= take;
      if (left_ == 0) state_ = State::DataCR;
      continue;
    }
    if (!step(bytes[at++])) state_ = State::Failed;
  }
  return data;
}

bool ChunkedBody::step(std::uint8_t byte) {
  switch (state_) {
    case State::Size:
    case State::SizeEnd:
    case State::SizeLF:
      if (++lineBytes_ > kChunkLineLimit) return false;
      break;
    case State::Trailer:
    case State::TrailerLF:
      if (++trailerBytes_ > kChunkTrailerLimit) return false;
      break;
    default: break;
  }
  switch (state_) {
    case State::Size: {
      int digit = hexDigit(byte);
      if (digit >= 0) {
        // One more digit must still fit: a size past 64 bits is no size.
        if (left_ >> 60 != 0) return false;
        left_ = left_ << 4 | static_cast<std::uint64_t>(digit);
        ++digits_;
        return true;
      }
      if (digits_ == 0) return false;
      state_ = State::SizeEnd;
      [[fallthrough]];
    }
    case State::SizeEnd:
      if (byte == '\r') {
        state_ = State::SizeLF;
      } else if (byte == '\n') {
        return false;
      } else if (byte == ';') {
        extension_ = true;
      } else if (!extension_ && byte != ' ' && byte != '\t') {
        return false;
      }
      return true;
    case State::SizeLF:
      if (byte != '\n') return false;
      state_ = left_ == 0 ? State::Trailer : State::Data;
      digits_ = 0;
      lineBytes_ = 0;
      extension_ = false;
      return true;
    case State::DataCR:
      if (byte != '\r') return false;
      state_ = State::DataLF;
      return true;
    case State::DataLF:
      if (byte != '\n') return false;
      state_ = State::Size;
      return true;
    case State::Trailer:
      if (byte == '\r') {
        state_ = State::TrailerLF;
      } else if (byte == '\n') {
        return false;
      } else {
        trailerLineEmpty_ = false;
      }
      return true;
    case State::TrailerLF:
      if (byte != '\n') return false;
      state_ = trailerLineEmpty_ ? State::Done : State::Trailer;
      trailerLineEmpty_ = true;
      return true;
    default: return false;
  }
}

}  // namespace download
