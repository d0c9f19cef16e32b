#include "output/Mail.h"

#include "output/MapiMail.h"

namespace {
constexpr wchar_t kInfoTitle[] = L"Information";
constexpr wchar_t kInfoText[] = L"Image will be saved as a file.\rThen it will be attached to an email message.";
constexpr wchar_t kSubject[] = L"image";
}  // namespace

void MailActionExecute(MailState& state, const MailSaveStep& save, const std::wstring& userName, HWND appWindow,
                       HWND owner)
{
    if (!state.infoShown) {
        state.infoShown = true;
        ::MessageBoxW(owner, kInfoText, kInfoTitle, MB_OK | MB_ICONINFORMATION);
    }

    std::wstring writtenFile;
    if (!save(writtenFile)) return;

    // Without a sender address the message has no originator, so the user's
    // name goes nowhere; it is passed all the same, ready for an address.
    try {
        SendMapiMail(kSubject, L"", writtenFile, userName, L"", L"", L"", appWindow);
    } catch (...) {
        // Mail is a convenience on top of the saved file: never an error box.
    }
}
