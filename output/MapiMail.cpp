#include "output/MapiMail.h"

#include <vector>

#include "output/MapiMailWide.h"
#include "win/UniqueHandle.h"

namespace {

constexpr char kAddressPrefix[] = "SMTP:";
// All bits set: the attachment is not placed at a position inside the body.
constexpr ULONG kNoPositionInBody = 0xFFFFFFFF;

// The text in the ANSI code page; lossless is cleared when a character has
// no exact counterpart there. A UTF-8 code page carries every character (and
// refuses the best-fit flag).
std::string ToAnsi(const std::wstring& text, bool* lossless = nullptr)
{
    if (lossless) *lossless = true;
    if (text.empty()) return {};
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(text.size());
    const int n = ::WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    BOOL usedDefault = FALSE;
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), length, out.data(), n, nullptr, utf8 ? nullptr : &usedDefault);
    if (lossless) *lossless = n > 0 && !usedDefault;
    return out;
}

// A text for the message, or no text at all when it is empty.
LPSTR Optional(std::string& text) { return text.empty() ? nullptr : text.data(); }

// The ANSI entry point cannot carry a path with characters outside the ANSI
// code page; the short form of such a path usually can, so the mail program
// still finds the file.
std::wstring AnsiSafePath(const std::wstring& path)
{
    bool lossless = true;
    ToAnsi(path, &lossless);
    if (lossless) return path;
    const DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::vector<wchar_t> shortPath(size);
    const DWORD written = ::GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (written == 0 || written >= size) return path;
    std::wstring result(shortPath.data(), written);
    ToAnsi(result, &lossless);
    return lossless ? result : path;
}

}  // namespace

MapiMailMessage::MapiMailMessage(const MailTexts& texts)
    : subject_(ToAnsi(texts.subject)), body_(ToAnsi(texts.body)), path_(ToAnsi(texts.filePath))
{
    message_.lpszSubject = Optional(subject_);
    message_.lpszNoteText = Optional(body_);

    auto describe = [](Person& person, MapiRecipDesc& desc, ULONG recipClass, const std::wstring& name,
                       const std::wstring& address) {
        person.name = ToAnsi(name.empty() ? address : name);
        person.address = kAddressPrefix + ToAnsi(address);
        desc.ulRecipClass = recipClass;
        desc.lpszName = person.name.data();
        desc.lpszAddress = person.address.data();
    };
    if (!texts.senderAddress.empty()) {
        describe(sender_, senderDesc_, MAPI_ORIG, texts.senderName, texts.senderAddress);
        message_.lpOriginator = &senderDesc_;
    }
    if (!texts.recipientAddress.empty()) {
        describe(recipient_, recipientDesc_, MAPI_TO, texts.recipientName, texts.recipientAddress);
        message_.nRecipCount = 1;
        message_.lpRecips = &recipientDesc_;
    }
    if (!path_.empty()) {
        fileDesc_.nPosition = kNoPositionInBody;
        fileDesc_.lpszPathName = path_.data();
        message_.nFileCount = 1;
        message_.lpFiles = &fileDesc_;
    }
}

int SendMapiMailThrough(const std::wstring& library, const MailTexts& texts, HWND appWindow)
{
    // The system folders and the program's own, never the current folder or
    // PATH, where anyone could have placed a library of that name.
    const win::UniqueModule module(::LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS));
    if (!module) return kMailLibraryMissing;
    const auto uiParent = reinterpret_cast<ULONG_PTR>(appWindow);
    constexpr FLAGS kFlags = MAPI_LOGON_UI | MAPI_DIALOG;
    // The Unicode entry point where the library has it: the path as it is.
    if (const auto sendW = reinterpret_cast<mapiw::SendMailW>(::GetProcAddress(module.get(), "MAPISendMailW"))) {
        MapiMailMessageW mail(texts);
        return static_cast<int>(sendW(0, uiParent, &mail.Message(), kFlags, 0));
    }
    const auto send = reinterpret_cast<LPMAPISENDMAIL>(::GetProcAddress(module.get(), "MAPISendMail"));
    if (!send) return kMailFunctionMissing;
    MailTexts sent = texts;
    sent.filePath = AnsiSafePath(texts.filePath);
    MapiMailMessage mail(sent);
    return static_cast<int>(send(0, uiParent, &mail.Message(), kFlags, 0));
}

int SendMapiMail(const std::wstring& subject, const std::wstring& body, const std::wstring& filePath,
                 const std::wstring& senderName, const std::wstring& senderAddress,
                 const std::wstring& recipientName, const std::wstring& recipientAddress, HWND appWindow)
{
    return SendMapiMailThrough(L"MAPI32.DLL",
                               {subject, body, filePath, senderName, senderAddress, recipientName, recipientAddress},
                               appWindow);
}
