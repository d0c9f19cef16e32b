#include "output/MapiMailWide.h"

namespace {

constexpr wchar_t kAddressPrefix[] = L"SMTP:";
constexpr ULONG kNoPositionInBody = 0xFFFFFFFF;

PWSTR Optional(std::wstring& text) { return text.empty() ? nullptr : text.data(); }

}  // namespace

MapiMailMessageW::MapiMailMessageW(const MailTexts& texts) : texts_(texts)
{
    message_.lpszSubject = Optional(texts_.subject);
    message_.lpszNoteText = Optional(texts_.body);
    auto describe = [](Person& person, mapiw::RecipDesc& desc, ULONG recipClass, const std::wstring& name,
                       const std::wstring& address) {
        person.name = name.empty() ? address : name;
        person.address = kAddressPrefix + address;
        desc.ulRecipClass = recipClass;
        desc.lpszName = person.name.data();
        desc.lpszAddress = person.address.data();
    };
    if (!texts_.senderAddress.empty()) {
        describe(sender_, senderDesc_, MAPI_ORIG, texts_.senderName, texts_.senderAddress);
        message_.lpOriginator = &senderDesc_;
    }
    if (!texts_.recipientAddress.empty()) {
        describe(recipient_, recipientDesc_, MAPI_TO, texts_.recipientName, texts_.recipientAddress);
        message_.nRecipCount = 1;
        message_.lpRecips = &recipientDesc_;
    }
    if (!texts_.filePath.empty()) {
        fileDesc_.nPosition = kNoPositionInBody;
        fileDesc_.lpszPathName = texts_.filePath.data();
        message_.nFileCount = 1;
        message_.lpFiles = &fileDesc_;
    }
}
