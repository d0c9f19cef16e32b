// A stand-in for the mail library, for tests only: MAPISendMail writes down
// the message it is handed instead of opening a mail program.
//
//   TAVRO_MAPI_RECORD   Windows path of the record file; each call appends one
//                       block of "key=value" lines starting with "call".
//                       Texts are written as "key="text"", missing ones as
//                       "key=null". For every attachment the record also says
//                       whether the file existed at that moment and its size.
//   TAVRO_MAPI_RESULT   what MAPISendMail returns (decimal), 0 when unset.
//
// Loading and unloading by the program are recorded too, as "loaded=1" and
// "unloaded=1" lines (not the unloading at the end of the process).
//
// Built three times: as the full library (MAPISendMail and MAPISendMailW), with
// TAVRO_MAPI_ANSI_ONLY as one without MAPISendMailW, and with
// TAVRO_MAPI_WITHOUT_SENDMAIL as one with neither. Each call records its
// "entry" (A or W); the texts of a W call are recorded in UTF-8.
#include <windows.h>
#include <mapi.h>

#include <cstdlib>
#include <string>

namespace {

std::string Variable(const char* name)
{
    char value[1024];
    const DWORD n = ::GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

[[maybe_unused]] bool Attributes(const char* path, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return ::GetFileAttributesExA(path, GetFileExInfoStandard, &data);
}
[[maybe_unused]] bool Attributes(const wchar_t* path, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return ::GetFileAttributesExW(path, GetFileExInfoStandard, &data);
}

// The published Unicode message (the toolchain's mapi.h lacks it).
struct RecipDescW { ULONG ulReserved, ulRecipClass; PWSTR lpszName, lpszAddress; ULONG ulEIDSize; PVOID lpEntryID; };
struct FileDescW { ULONG ulReserved, flFlags, nPosition; PWSTR lpszPathName, lpszFileName; PVOID lpFileType; };
struct MessageW {
    ULONG ulReserved;
    PWSTR lpszSubject, lpszNoteText, lpszMessageType, lpszDateReceived, lpszConversationID;
    FLAGS flFlags;
    RecipDescW* lpOriginator;
    ULONG nRecipCount;
    RecipDescW* lpRecips;
    ULONG nFileCount;
    FileDescW* lpFiles;
};

class Record {
public:
    void Line(const std::string& line) { text_ += line + "\n"; }
    void Number(const std::string& key, unsigned long long value) { text_ += key + "=" + std::to_string(value) + "\n"; }
    void Text(const std::string& key, const char* value)
    {
        text_ += key + (value ? "=\"" + std::string(value) + "\"\n" : "=null\n");
    }
    // A text of the Unicode entry point, recorded in UTF-8.
    void Text(const std::string& key, const wchar_t* value)
    {
        char out[2048] = "";
        if (value) ::WideCharToMultiByte(CP_UTF8, 0, value, -1, out, sizeof out, nullptr, nullptr);
        Text(key, value ? out : nullptr);
    }
    template <typename RecipDesc>
    void Recipient(const std::string& key, const RecipDesc* r)
    {
        if (!r) {
            text_ += key + "=null\n";
            return;
        }
        Number(key + ".reserved", r->ulReserved);
        Number(key + ".class", r->ulRecipClass);
        Text(key + ".name", r->lpszName);
        Text(key + ".address", r->lpszAddress);
        Number(key + ".eidsize", r->ulEIDSize);
        Number(key + ".eid", reinterpret_cast<ULONG_PTR>(r->lpEntryID));
    }
    template <typename FileDesc>
    void File(const std::string& key, const FileDesc& f)
    {
        Number(key + ".reserved", f.ulReserved);
        Number(key + ".flags", f.flFlags);
        Number(key + ".position", f.nPosition);
        Text(key + ".path", f.lpszPathName);
        Text(key + ".name", f.lpszFileName);
        Number(key + ".type", reinterpret_cast<ULONG_PTR>(f.lpFileType));
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const bool exists = f.lpszPathName && Attributes(f.lpszPathName, data);
        Number(key + ".exists", exists ? 1 : 0);
        Number(key + ".size", exists ? (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow : 0);
    }
    void AppendTo(const std::string& path) const
    {
        if (text_.empty()) return;
        HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        ::WriteFile(file, text_.data(), static_cast<DWORD>(text_.size()), &written, nullptr);
        ::CloseHandle(file);
    }

private:
    std::string text_;
};

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    const std::string path = Variable("TAVRO_MAPI_RECORD");
    if (path.empty()) return TRUE;
    Record r;
    if (reason == DLL_PROCESS_ATTACH) r.Line("loaded=1");
    if (reason == DLL_PROCESS_DETACH && !reserved) r.Line("unloaded=1");
    r.AppendTo(path);
    return TRUE;
}

#ifndef TAVRO_MAPI_WITHOUT_SENDMAIL
}  // extern "C"

namespace {

template <typename Message>
ULONG RecordCall(const char* entry, LHANDLE session, ULONG_PTR uiParam, const Message* message, FLAGS flags,
                 ULONG reserved)
{
    Record r;
    r.Number("call", 1);
    r.Text("entry", entry);
    r.Number("session", session);
    r.Number("parent", uiParam);
    wchar_t className[64] = L"";
    if (uiParam) ::GetClassNameW(reinterpret_cast<HWND>(uiParam), className, 64);
    char narrowClass[64] = "";
    ::WideCharToMultiByte(CP_ACP, 0, className, -1, narrowClass, sizeof narrowClass, nullptr, nullptr);
    r.Text("parent.class", narrowClass);
    r.Number("flags", flags);
    r.Number("reserved", reserved);
    if (!message) {
        r.Text("message", static_cast<const char*>(nullptr));
    } else {
        r.Number("message.reserved", message->ulReserved);
        r.Text("subject", message->lpszSubject);
        r.Text("note", message->lpszNoteText);
        r.Text("type", message->lpszMessageType);
        r.Text("date", message->lpszDateReceived);
        r.Text("conversation", message->lpszConversationID);
        r.Number("message.flags", message->flFlags);
        r.Recipient("originator", message->lpOriginator);
        r.Number("recipcount", message->nRecipCount);
        r.Number("recips", reinterpret_cast<ULONG_PTR>(message->lpRecips));
        for (ULONG i = 0; message->lpRecips && i < message->nRecipCount; ++i)
            r.Recipient("recip" + std::to_string(i), &message->lpRecips[i]);
        r.Number("filecount", message->nFileCount);
        r.Number("files", reinterpret_cast<ULONG_PTR>(message->lpFiles));
        for (ULONG i = 0; message->lpFiles && i < message->nFileCount; ++i)
            r.File("file" + std::to_string(i), message->lpFiles[i]);
    }
    const std::string path = Variable("TAVRO_MAPI_RECORD");
    if (!path.empty()) r.AppendTo(path);
    return static_cast<ULONG>(std::strtoul(Variable("TAVRO_MAPI_RESULT").c_str(), nullptr, 10));
}

}  // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message,
                                                FLAGS flags, ULONG reserved)
{
    return RecordCall("A", session, uiParam, message, flags, reserved);
}

#ifndef TAVRO_MAPI_ANSI_ONLY
__declspec(dllexport) ULONG WINAPI MAPISendMailW(LHANDLE session, ULONG_PTR uiParam, MessageW* message,
                                                 FLAGS flags, ULONG reserved)
{
    return RecordCall("W", session, uiParam, message, flags, reserved);
}
#endif
#endif

// Present in both builds, so the reduced one is still a mail library.
__declspec(dllexport) ULONG WINAPI MAPILogon(ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPLHANDLE session)
{
    if (session) *session = 0;
    return MAPI_E_FAILURE;
}

}  // extern "C"
