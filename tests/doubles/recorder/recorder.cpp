// A stand-in for an image program (the user's own, the one associated with
// BMP files, Paint). It records how it was started and keeps a copy of the
// file it was given, so a test can check the command line and the pixels.
//
// TAVRO_RECORDER_LOG names the record; it is written last, whole, by a rename,
// so a test that sees it can read it. Its lines (UTF-8):
//   cmdline=<GetCommandLineW, raw>
//   argc=<n>
//   argv[i]=<argument i>       (one line each)
//   copied=<1 when argv[1] was copied to the record's name + ".bmp", else 0>
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr,
                          nullptr);
    return out;
}

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[32768] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 32768);
    return length && length < 32768 ? std::wstring(value, length) : std::wstring();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring log = Environment(L"TAVRO_RECORDER_LOG");
    if (log.empty()) return 2;

    const bool copied = argc > 1 && ::CopyFileW(argv[1], (log + L".bmp").c_str(), FALSE);

    std::wstring text = L"cmdline=" + std::wstring(::GetCommandLineW()) + L"\n";
    text += L"argc=" + std::to_wstring(argc) + L"\n";
    for (int i = 0; i < argc; ++i) text += L"argv[" + std::to_wstring(i) + L"]=" + argv[i] + L"\n";
    text += copied ? L"copied=1\n" : L"copied=0\n";
    const std::string bytes = Utf8(text);

    const std::wstring partial = log + L".partial";
    HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    if (!ok || !::MoveFileExW(partial.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING)) return 4;
    return 0;
}
