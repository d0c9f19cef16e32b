// A second process for the clipboard tests, as another program would be:
//   clipboard_tool dump FILE          writes the clipboard's CF_BITMAP as a binary
//                                     PPM (top-down RGB); exit 3 when there is none
//   clipboard_tool formats            prints the offered formats in order, one a
//                                     line: the number and the registered name
//   clipboard_tool png FILE           writes the "PNG" format's bytes; exit 3
//                                     when there are none
//   clipboard_tool empty              empties the clipboard
//   clipboard_tool hold HELD RELEASE  opens the clipboard, signals the event HELD,
//                                     and keeps it open until RELEASE is signalled
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool OpenClipboardPatiently()
{
    for (int i = 0; i < 100; ++i) {
        if (::OpenClipboard(nullptr)) return true;
        ::Sleep(20);
    }
    return false;
}

int Dump(const wchar_t* path)
{
    if (!OpenClipboardPatiently()) return 2;
    int result = 3;
    if (HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP))) {
        BITMAP b{};
        ::GetObjectW(bitmap, sizeof b, &b);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = b.bmWidth;
        info.bmiHeader.biHeight = -b.bmHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<unsigned char> bgra(static_cast<size_t>(b.bmWidth) * b.bmHeight * 4);
        HDC screen = ::GetDC(nullptr);
        const int rows = ::GetDIBits(screen, bitmap, 0, b.bmHeight, bgra.data(), &info, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        if (rows == b.bmHeight) {
            if (FILE* f = _wfopen(path, L"wb")) {
                std::fprintf(f, "P6\n%ld %ld\n255\n", b.bmWidth, b.bmHeight);
                for (size_t i = 0; i < bgra.size(); i += 4) {
                    const unsigned char rgb[3] = {bgra[i + 2], bgra[i + 1], bgra[i]};
                    std::fwrite(rgb, 1, 3, f);
                }
                result = std::fclose(f) == 0 ? 0 : 4;
            }
        } else {
            result = 4;
        }
    }
    ::CloseClipboard();
    return result;
}

int Formats()
{
    if (!OpenClipboardPatiently()) return 2;
    for (UINT format = ::EnumClipboardFormats(0); format; format = ::EnumClipboardFormats(format)) {
        wchar_t name[128] = L"";
        ::GetClipboardFormatNameW(format, name, 128);
        std::printf("%u %ls\n", format, name);
    }
    ::CloseClipboard();
    return 0;
}

int Png(const wchar_t* path)
{
    if (!OpenClipboardPatiently()) return 2;
    int result = 3;
    HGLOBAL memory = ::GetClipboardData(::RegisterClipboardFormatW(L"PNG"));
    if (const void* bytes = memory ? ::GlobalLock(memory) : nullptr) {
        FILE* f = _wfopen(path, L"wb");
        result = f && std::fwrite(bytes, 1, ::GlobalSize(memory), f) == ::GlobalSize(memory) ? 0 : 4;
        if (f && std::fclose(f) != 0) result = 4;
        ::GlobalUnlock(memory);
    }
    ::CloseClipboard();
    return result;
}

int Hold(const wchar_t* held, const wchar_t* release)
{
    HANDLE heldEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, held);
    HANDLE releaseEvent = ::OpenEventW(SYNCHRONIZE, FALSE, release);
    if (!heldEvent || !releaseEvent || !OpenClipboardPatiently()) return 2;
    ::SetEvent(heldEvent);
    ::WaitForSingleObject(releaseEvent, 60000);
    ::CloseClipboard();
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"dump" && argc == 3) return Dump(argv[2]);
    if (verb == L"formats" && argc == 2) return Formats();
    if (verb == L"png" && argc == 3) return Png(argv[2]);
    if (verb == L"empty" && argc == 2) {
        if (!OpenClipboardPatiently()) return 2;
        const bool emptied = ::EmptyClipboard() != FALSE;
        ::CloseClipboard();
        return emptied ? 0 : 2;
    }
    if (verb == L"hold" && argc == 4) return Hold(argv[2], argv[3]);
    std::fprintf(stderr, "usage: clipboard_tool dump FILE | empty | hold HELD_EVENT RELEASE_EVENT\n");
    return 1;
}
