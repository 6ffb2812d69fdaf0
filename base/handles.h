#pragma once
// The Win32 handle kinds the programs own, each a base::UniqueHandle.
#include <windows.h>

#include "base/unique_handle.h"

namespace base {

template <typename H>
struct GdiObjectTraits : NullIsInvalid<H> {
  static void close(H h) { DeleteObject(h); }
};

// Null from most calls, INVALID_HANDLE_VALUE from CreateFile: both mean none.
struct KernelHandleTraits : NullIsInvalid<HANDLE> {
  static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};

// A directory search of FindFirstFile, which gives INVALID_HANDLE_VALUE for none.
struct FindTraits : NullIsInvalid<HANDLE> {
  static bool valid(HANDLE h) { return KernelHandleTraits::valid(h); }
  static void close(HANDLE h) { FindClose(h); }
};

// A cursor made by the program, never a shared stock one.
struct CursorTraits : NullIsInvalid<HCURSOR> {
  static void close(HCURSOR h) { DestroyCursor(h); }
};

struct IconTraits : NullIsInvalid<HICON> {
  static void close(HICON h) { DestroyIcon(h); }
};

// A hook of the thread.
struct HookTraits : NullIsInvalid<HHOOK> {
  static void close(HHOOK h) { UnhookWindowsHookEx(h); }
};

struct MappedViewTraits : NullIsInvalid<void*> {
  static void close(void* view) { UnmapViewOfFile(view); }
};

using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;
using Region = UniqueHandle<GdiObjectTraits<HRGN>>;
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using OwnCursor = UniqueHandle<CursorTraits>;
using OwnIcon = UniqueHandle<IconTraits>;
using MappedView = UniqueHandle<MappedViewTraits>;
using WindowsHook = UniqueHandle<HookTraits>;

}  // namespace base
