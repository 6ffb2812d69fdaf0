#include "forms/units/zip/unzip_archive.h"

#include <windows.h>

#include <minizip/unzip.h>

#include <vector>

#include "base/handles.h"
#include "base/unique_handle.h"
#include "forms/files/entry_name.h"

namespace forms {
namespace {

struct ZipTraits : base::NullIsInvalid<unzFile> {
  static void close(unzFile file) { unzClose(file); }
};
using ZipReader = base::UniqueHandle<ZipTraits>;

struct Entry {
  Text name;
  unz_file_info info;
};

bool isFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder and every missing folder above it.
bool makeFolderTree(const Text& folder) {
  if (isFolder(GetFileAttributesA(folder.c_str()))) return true;
  // Step by characters: a GBK trail byte can be 0x5C, and that is no separator.
  for (std::size_t at = 0; at < folder.size(); ++at) {
    if (IsDBCSLeadByte(static_cast<BYTE>(folder[at]))) {
      ++at;
    } else if (folder[at] == '\\' && at > 0) {
      CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    }
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  return isFolder(GetFileAttributesA(folder.c_str()));
}

bool looksLikeZip(const Text& path) {
  base::KernelHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 32) return false;
  unsigned char head[4];
  DWORD got = 0;
  return ReadFile(file.get(), head, sizeof(head), &got, nullptr) && got == 4 && head[0] == 'P' &&
         head[1] == 'K' && head[2] == 3 && head[3] == 4;
}

bool readEntry(unzFile zip, Entry& entry) {
  char name[1024];
  if (unzGetCurrentFileInfo(zip, &entry.info, name, sizeof(name), nullptr, 0, nullptr, 0) != UNZ_OK)
    return false;
  // A name longer than the buffer arrives cut; refuse it rather than unpack it cut.
  if (entry.info.size_filename >= sizeof(name)) return false;
  entry.name.assign(name, entry.info.size_filename);
  return true;
}

bool isFolderEntry(const Entry& entry) {
  const char last = entry.name.empty() ? 0 : entry.name.back();
  return (entry.info.external_fa & FILE_ATTRIBUTE_DIRECTORY) || last == '/' || last == '\\';
}

// Made on a Unix system (the upper byte of "version made by" is 3) with the S_IFLNK mode.
bool isLinkEntry(const Entry& entry) {
  return (entry.info.version >> 8) == 3 && ((entry.info.external_fa >> 16) & 0170000) == 0120000;
}

bool checkAllNames(unzFile zip, uLong count) {
  if (unzGoToFirstFile(zip) != UNZ_OK) return false;
  for (uLong i = 0; i < count; ++i) {
    Entry entry;
    if (!readEntry(zip, entry) || !isSafeEntryName(entry.name)) return false;
    if (i + 1 < count && unzGoToNextFile(zip) != UNZ_OK) return false;
  }
  return unzGoToFirstFile(zip) == UNZ_OK;
}

void setTimes(HANDLE file, uLong dosDate) {
  FILETIME local, utc;
  if (DosDateTimeToFileTime(HIWORD(dosDate), LOWORD(dosDate), &local) &&
      LocalFileTimeToFileTime(&local, &utc)) {
    SetFileTime(file, &utc, &utc, &utc);
  }
}

bool inflateInto(unzFile zip, const Entry& entry, const Text& path) {
  const DWORD existing = GetFileAttributesA(path.c_str());
  // Never write through a link that something else left there: replace the link itself.
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_REPARSE_POINT) &&
      !isFolder(existing)) {
    DeleteFileA(path.c_str());
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (unzOpenCurrentFile(zip) != UNZ_OK) return false;
  base::KernelHandle out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  bool ok = static_cast<bool>(out);
  std::vector<char> buffer(64 * 1024);
  while (ok) {
    const int got = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    DWORD written = 0;
    ok = WriteFile(out.get(), buffer.data(), got, &written, nullptr) &&
         written == static_cast<DWORD>(got);
  }
  // The CRC is checked here, once the whole entry has been read.
  if (unzCloseCurrentFile(zip) != UNZ_OK) ok = false;
  if (ok) setTimes(out.get(), entry.info.dosDate);
  const bool created = static_cast<bool>(out);
  out.close();
  if (!ok) {
    // A cut or damaged file must not be taken for a good one later.
    if (created) DeleteFileA(path.c_str());
    return false;
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return true;
}

}  // namespace

int unzipArchive(const Text& archive, const Text& target, const UnzipProgress& progress) {
  if (archive.empty() || target.empty()) return -1;
  if (GetFileAttributesA(archive.c_str()) == INVALID_FILE_ATTRIBUTES) return -1;
  if (!makeFolderTree(target)) return 0;
  if (!looksLikeZip(archive)) return 0;

  ZipReader zip(unzOpen(archive.c_str()));
  unz_global_info global;
  if (!zip.get() || unzGetGlobalInfo(zip.get(), &global) != UNZ_OK) return 0;
  const uLong count = global.number_entry;
  if (!checkAllNames(zip.get(), count)) return 0;

  const Text base = target.back() == '\\' ? target : target + "\\";
  for (uLong i = 0; i < count; ++i) {
    Entry entry;
    if (!readEntry(zip.get(), entry)) return 0;
    Text path = base + entry.name;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    if (isFolderEntry(entry)) {
      if (path.back() == '\\') path.pop_back();
      if (!makeFolderTree(path)) return 0;
    } else if (!isLinkEntry(entry)) {
      if (!inflateInto(zip.get(), entry, path)) return 0;
    }
    if (progress && !progress(static_cast<int>(static_cast<double>(i) / count * 100))) return 1;
    if (i + 1 < count && unzGoToNextFile(zip.get()) != UNZ_OK) return 0;
  }
  if (progress) progress(100);
  return 1;
}

}  // namespace forms
