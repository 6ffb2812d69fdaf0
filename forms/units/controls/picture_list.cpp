#include "forms/units/controls/picture_list.h"

#include <objidl.h>

#include <cstring>

#include "base/com_ptr.h"

namespace forms {
namespace {

constexpr std::uint8_t kHead[8] = {'M', 'I', 'T', 'L', 0x00, 0x00, 0x00, 0xFF};

// A stream in memory that frees its memory when it goes.
base::ComPtr<IStream> memoryStream() {
  base::ComPtr<IStream> s;
  CreateStreamOnHGlobal(nullptr, TRUE, s.put());
  return s;
}

}  // namespace

ImageList readPictureList(const ByteSet& block) {
  if (block.size() <= sizeof(kHead) || std::memcmp(block.data(), kHead, sizeof(kHead)) != 0)
    return {};
  base::ComPtr<IStream> stream = memoryStream();
  if (!stream) return {};
  ULONG written = 0;
  const auto size = static_cast<ULONG>(block.size() - sizeof(kHead));
  if (FAILED(stream->Write(block.data() + sizeof(kHead), size, &written)) || written != size)
    return {};
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return ImageList(ImageList_Read(stream.get()));
}

ByteSet writePictureList(HIMAGELIST list) {
  base::ComPtr<IStream> stream = memoryStream();
  if (!stream || !ImageList_Write(list, stream.get())) return {};
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  ByteSet out(kHead, kHead + sizeof(kHead));
  out.resize(sizeof(kHead) + static_cast<std::size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(out.data() + sizeof(kHead), static_cast<ULONG>(out.size() - sizeof(kHead)), &read);
  out.resize(sizeof(kHead) + read);
  return out;
}

}  // namespace forms
