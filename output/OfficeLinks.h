// The automation references the Office exports keep for the whole run, so that
// successive exports go into the same presentation, document or workbook, and
// the attach procedure the three exports share.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "output/OfficeCalls.h"
#include "output/OfficeThread.h"
#include "win/Automation.h"
#include "win/Bitmap.h"

// The references themselves. They belong to the apartment of the Office
// thread that made them and are used and released there only.
struct OfficeReferences {
    win::ComPtr<IDispatch> PowerPointApp;
    win::ComPtr<IDispatch> PowerPointPresentation;
    std::wstring PresentationName;  // the key for finding the presentation again
    win::ComPtr<IDispatch> WordApp;
    win::ComPtr<IDispatch> WordDocument;  // itself the key for finding it again
    win::ComPtr<IDispatch> ExcelApp;
    win::ComPtr<IDispatch> ExcelWorkbook;
    win::ComPtr<IDispatch> ExcelSheet;  // the sheet made by the last Excel export
    std::wstring WorkbookName;          // the key for finding the workbook again

    // Empties the references in the order the close releases them.
    void Clear() noexcept;
};

// Owned by the application, handed to the exports by reference. An empty
// pointer is an empty reference.
struct OfficeLinks : OfficeReferences {
    // The thread the references were made on (OfficeThread.h); started by
    // the first export, replaced after one was given up.
    std::shared_ptr<OfficeThread> thread;

    // Exports under way (an export waiting on an application lets messages
    // in, session end among them), and a release asked for meanwhile.
    int exportsRunning = 0;
    bool releasePending = false;
    // How long a call may wait on a busy or hung application: always
    // office::kBusyRetryLimitMs in the program; tests shorten it.
    DWORD callLimitMs = office::kBusyRetryLimitMs;

    OfficeLinks() = default;
    OfficeLinks(const OfficeLinks&) = delete;
    OfficeLinks& operator=(const OfficeLinks&) = delete;
    // What is still kept is released as ReleaseOfficeLinks does it.
    ~OfficeLinks();
};

// The frame of one export, on the caller's thread. It marks the export as
// running for its lifetime; a release asked for meanwhile is done when the
// last export ends.
class OfficeExportScope {
public:
    explicit OfficeExportScope(OfficeLinks& links);
    ~OfficeExportScope();
    OfficeExportScope(const OfficeExportScope&) = delete;
    OfficeExportScope& operator=(const OfficeExportScope&) = delete;

private:
    OfficeLinks& links_;
};

// What an export's calls work with on the Office thread, all of it their own:
// the kept references, handed over for the calls and taken back when they
// end; the export's copy of the picture, made before the calls start; and the
// thread's window, to own the clipboard while the picture is put there.
struct OfficeExportJob {
    OfficeReferences& links;
    const win::Bitmap& picture;
    HWND clipboardOwner;
};

// Runs one export's automation calls on the Office thread and waits for them;
// the references the calls leave become the kept ones, after a failure too.
// Calls refused as busy are retried, and a call that gets no answer is given
// up, within office::kBusyRetryLimitMs; after a call given up (its
// application hangs) the kept references are released in the thread's
// apartment, without waiting for that application, and the failure is thrown
// as win::Error like any other. A failure of the calls is thrown here. An
// export asked for while one waits (a message handled meanwhile) is not run:
// the program takes no commands while an export runs.
void RunOfficeExport(OfficeLinks& links, const win::Bitmap& picture, std::function<void(OfficeExportJob&)> calls);

// What the exports write beside the picture: the user's name and the date,
// each when its box in the settings dialog is checked at the moment of the
// export. dateText is today's date as "MMMM d, yyyy" in the user's locale.
struct OfficeCaptions {
    std::wstring userName;
    bool putName = true;
    bool putDate = true;
    std::wstring dateText;
};

// Releases the kept references at program close, before the settings are
// saved. Nothing is saved, closed or quit in the applications: they keep
// running with their documents open. While an export runs (the close or the
// session end arrived inside it), the release waits for the export's calls
// (or gives them up, within the busy bound) and is done when the export
// returns. The release is done on the Office thread and waited for within
// the busy bound.
void ReleaseOfficeLinks(OfficeLinks& links) noexcept;

enum class AttachOutcome {
    KeptDocument,  // the kept document was found again
    NewDocument,   // a new document was made
    Failed,        // nothing to write into; the references are emptied
};

// What identifies one application's documents.
struct OfficeDocumentKind {
    std::wstring_view progId;      // "PowerPoint.Application"
    std::wstring_view collection;  // "Presentations"
    std::wstring_view newMember;   // "Add"
    // How Item is asked: as a method (the default) or as a property read.
    WORD lookupFlags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
};

// Attaches to the application and to the document the export writes into:
// the running application first, else a new instance (and then the running
// one again); the kept document looked up in the collection with lookupKey,
// else a new one. app and document are the kept references; rememberedName is
// the export's remembered document name (null when it has none), emptied when
// the application had to be started and when the attach fails. On failure the
// name, the document and the application references are emptied in that order
// and nothing is reported. A kept or running reference whose application has
// gone away is replaced by a new instance, not reported.
AttachOutcome AttachOfficeDocument(const OfficeDocumentKind& kind, const win::Variant& lookupKey,
                                   win::ComPtr<IDispatch>& app, win::ComPtr<IDispatch>& document,
                                   std::wstring* rememberedName);
