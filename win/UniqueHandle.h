// Move-only ownership of Win32 handles: one template, one traits type per kind.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <utility>

namespace win {

// Live GDI objects created through our owning wrappers. GetGuiResources is not
// implemented everywhere we run, so leak tests count through this instead.
inline std::atomic<long> gdiObjectCount{0};

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : handle_(h) { Traits::Adopted(handle_); }
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    // Moves keep the object counted: it only changes owner.
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Traits::Invalid());
        }
        return *this;
    }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::IsValid(handle_); }

    // Gives up ownership without closing; the caller now owns the handle.
    Handle release() noexcept
    {
        Handle h = handle_;
        if (Traits::IsValid(h)) Traits::Released(h);
        handle_ = Traits::Invalid();
        return h;
    }

    void reset(Handle h = Traits::Invalid()) noexcept
    {
        if (Traits::IsValid(handle_)) {
            Traits::Released(handle_);
            Traits::Close(handle_);
        }
        handle_ = h;
        Traits::Adopted(handle_);
    }

private:
    Handle handle_ = Traits::Invalid();
};

template <typename H>
struct NullInvalid {
    using Handle = H;
    static constexpr Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Adopted(Handle) noexcept {}
    static void Released(Handle) noexcept {}
};

template <typename H>
struct GdiObjectTraits : NullInvalid<H> {
    static void Close(H h) noexcept { ::DeleteObject(h); }
    static void Adopted(H h) noexcept { if (h) ++gdiObjectCount; }
    static void Released(H) noexcept { --gdiObjectCount; }
};

struct MemoryDCTraits : NullInvalid<HDC> {
    static void Close(HDC h) noexcept { ::DeleteDC(h); }
    static void Adopted(HDC h) noexcept { if (h) ++gdiObjectCount; }
    static void Released(HDC) noexcept { --gdiObjectCount; }
};

struct KeyTraits : NullInvalid<HKEY> {
    static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct ModuleTraits : NullInvalid<HMODULE> {
    static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};
struct IconTraits : NullInvalid<HICON> {
    static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct MenuTraits : NullInvalid<HMENU> {
    static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct GlobalTraits : NullInvalid<HGLOBAL> {
    static void Close(HGLOBAL h) noexcept { ::GlobalFree(h); }
};
struct ImageListTraits : NullInvalid<HIMAGELIST> {
    static void Close(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
};
// Mutexes, events, processes: NULL when absent, closed with CloseHandle.
struct KernelObjectTraits : NullInvalid<HANDLE> {
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
    static void Adopted(Handle) noexcept {}
    static void Released(Handle) noexcept {}
};

using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueRgn = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniquePalette = UniqueHandle<GdiObjectTraits<HPALETTE>>;
using UniqueMemoryDC = UniqueHandle<MemoryDCTraits>;
using UniqueKey = UniqueHandle<KeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueGlobal = UniqueHandle<GlobalTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueKernelObject = UniqueHandle<KernelObjectTraits>;

}  // namespace win
