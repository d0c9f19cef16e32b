// Hands a message to the user's mail program through Simple MAPI: the mail
// library is loaded only for the call, so a system without one costs nothing
// until the user asks for mail.
#pragma once

#include <windows.h>
#include <mapi.h>

#include <string>

// The texts of a message; an empty text leaves its item out.
struct MailTexts {
    std::wstring subject;
    std::wstring body;
    std::wstring filePath;
    std::wstring senderName;
    std::wstring senderAddress;
    std::wstring recipientName;
    std::wstring recipientAddress;
};

// The Simple MAPI message for a set of texts, with the storage its pointers
// refer to. Sender and recipient exist only when their address is given; a
// missing name is replaced by the address, and an address is handed over as
// "SMTP:" + address. The attachment keeps its file name (no name of its own)
// and is not placed inside the body (position -1). Texts are converted to the
// ANSI code page, as the ANSI entry point expects.
class MapiMailMessage {
public:
    explicit MapiMailMessage(const MailTexts& texts);
    MapiMailMessage(const MapiMailMessage&) = delete;
    MapiMailMessage& operator=(const MapiMailMessage&) = delete;

    MapiMessage& Message() noexcept { return message_; }

private:
    struct Person {
        std::string name;
        std::string address;
    };

    std::string subject_;
    std::string body_;
    std::string path_;
    Person sender_;
    Person recipient_;
    MapiRecipDesc senderDesc_{};
    MapiRecipDesc recipientDesc_{};
    MapiFileDesc fileDesc_{};
    MapiMessage message_{};
};

// Result of SendMapiMail when the mail library cannot be loaded.
inline constexpr int kMailLibraryMissing = -1;
// Result of SendMapiMail when the library has no MAPISendMail.
inline constexpr int kMailFunctionMissing = 1;

// Loads "MAPI32.DLL" (from the system folders or the program's folder) and
// lets the user edit and send the message in the mail program (log-on and
// message windows shown, parent the application window).
// MAPISendMailW is called where the library has it, with the texts as they
// are; otherwise MAPISendMail, with the ANSI texts and the attachment's path
// in its short form where the long one does not fit the ANSI code page.
// Returns kMailLibraryMissing, kMailFunctionMissing (neither entry point), or
// the entry point's own result (0 when the message went to the mail program). The library is
// unloaded again on every path.
int SendMapiMail(const std::wstring& subject, const std::wstring& body, const std::wstring& filePath,
                 const std::wstring& senderName, const std::wstring& senderAddress,
                 const std::wstring& recipientName, const std::wstring& recipientAddress, HWND appWindow);

// SendMapiMail through the named library file.
int SendMapiMailThrough(const std::wstring& library, const MailTexts& texts, HWND appWindow);
