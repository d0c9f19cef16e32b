// The Unicode form of the Simple MAPI message, for libraries that export
// MAPISendMailW: every text, the attachment's path included, reaches the
// mail program as it is, whatever the ANSI code page. The structures are the
// published MapiMessageW family (the toolchain's mapi.h lacks them).
#pragma once

#include <windows.h>
#include <mapi.h>

#include <string>

#include "output/MapiMail.h"

namespace mapiw {

struct RecipDesc {
    ULONG ulReserved;
    ULONG ulRecipClass;
    PWSTR lpszName;
    PWSTR lpszAddress;
    ULONG ulEIDSize;
    PVOID lpEntryID;
};

struct FileDesc {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    PWSTR lpszPathName;
    PWSTR lpszFileName;
    PVOID lpFileType;
};

struct Message {
    ULONG ulReserved;
    PWSTR lpszSubject;
    PWSTR lpszNoteText;
    PWSTR lpszMessageType;
    PWSTR lpszDateReceived;
    PWSTR lpszConversationID;
    FLAGS flFlags;
    RecipDesc* lpOriginator;
    ULONG nRecipCount;
    RecipDesc* lpRecips;
    ULONG nFileCount;
    FileDesc* lpFiles;
};

using SendMailW = ULONG(WINAPI*)(LHANDLE session, ULONG_PTR uiParam, Message* message, FLAGS flags,
                                  ULONG reserved);

}  // namespace mapiw

// The message of MapiMailMessage, filled the same way, with its texts kept
// as they are.
class MapiMailMessageW {
public:
    explicit MapiMailMessageW(const MailTexts& texts);
    MapiMailMessageW(const MapiMailMessageW&) = delete;
    MapiMailMessageW& operator=(const MapiMailMessageW&) = delete;

    mapiw::Message& Message() noexcept { return message_; }

private:
    struct Person {
        std::wstring name;
        std::wstring address;
    };

    MailTexts texts_;
    Person sender_;
    Person recipient_;
    mapiw::RecipDesc senderDesc_{};
    mapiw::RecipDesc recipientDesc_{};
    mapiw::FileDesc fileDesc_{};
    mapiw::Message message_{};
};
