#include "output/WordExport.h"

#include "output/CopyToClipboard.h"
#include "output/OfficeCalls.h"

namespace {

// Word's paragraph break.
constexpr wchar_t kBreak[] = L"\r";

void TypeText(IDispatch* selection, const std::wstring& text)
{
    const win::Variant argument = win::Variant::Text(text);
    office::Call(selection, L"TypeText", {&argument});
}

}  // namespace

void MakeWordActionExecute(const win::Bitmap& picture, OfficeLinks& kept, const OfficeCaptions& captions)
{
    RunOfficeExport(kept, picture, [captions](OfficeExportJob& job) {
        OfficeReferences& links = job.links;
        // The kept document itself is the key, passed by reference as Word's
        // collections take a variable.
        win::Variant keptDocument = win::Variant::Object(links.WordDocument.get());
        const OfficeDocumentKind kind{L"Word.Application", L"Documents", L"AddOld"};
        const AttachOutcome outcome = AttachOfficeDocument(kind, win::Variant::RefTo(keptDocument.get()), links.WordApp,
                                                           links.WordDocument, nullptr);
        keptDocument.Clear();
        if (outcome == AttachOutcome::Failed) return;

        const win::ComPtr<IDispatch> app = links.WordApp;
        // The application's selection, wherever the user has moved it.
        win::ComPtr<IDispatch> selection = office::GetObject(app.get(), L"Selection");
        if (outcome == AttachOutcome::NewDocument) {
            if (captions.putName) TypeText(selection.get(), captions.userName + kBreak);
            if (captions.putDate) TypeText(selection.get(), captions.dateText + kBreak + kBreak);
        }
        CopyToClipboardActionExecute(job.picture, job.clipboardOwner);
        office::Call(selection.get(), L"Paste");
        TypeText(selection.get(), kBreak);
        TypeText(selection.get(), kBreak);
        selection.reset();

        win::PutProperty(app.get(), L"Visible", win::Variant::Bool(true));  // failure ignored
    });
}
