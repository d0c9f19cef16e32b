#include "output/OfficeLinks.h"

#include "output/OfficeCalls.h"

#include <string>
#include <utility>

#include "win/Error.h"

void OfficeReferences::Clear() noexcept
{
    ExcelSheet.reset();
    PowerPointPresentation.reset();
    WordDocument.reset();
    ExcelWorkbook.reset();
    PowerPointApp.reset();
    WordApp.reset();
    ExcelApp.reset();
}

namespace {

// Ends the links' thread: the references go with it and are released in its
// apartment, after its current call (which may never return, when its
// application hangs). Only while no job of the thread can give them back.
void RetireThread(OfficeLinks& links, bool waitForEnd)
{
    auto taken = std::make_shared<OfficeReferences>();
    std::swap(*taken, static_cast<OfficeReferences&>(links));  // moves only: nothing released here
    const std::shared_ptr<OfficeThread> thread = std::move(links.thread);
    if (!thread) return;
    const bool hung = thread->GivenUp();
    thread->Retire([taken] { taken->Clear(); });
    if (waitForEnd && !hung) thread->WaitForEnd(links.callLimitMs);
}

}  // namespace

void ReleaseOfficeLinks(OfficeLinks& links) noexcept
{
    if (links.exportsRunning > 0) {
        // Inside an export (a session end): its calls, queued before this
        // empty job, end or are given up first.
        links.releasePending = true;
        if (links.thread) {
            try {
                links.thread->Run([](HWND) {}, links.callLimitMs);
            } catch (...) {
            }
        }
        return;
    }
    links.releasePending = false;
    RetireThread(links, true);
}

OfficeLinks::~OfficeLinks() { ReleaseOfficeLinks(*this); }

OfficeExportScope::OfficeExportScope(OfficeLinks& links) : links_(links) { ++links_.exportsRunning; }

OfficeExportScope::~OfficeExportScope()
{
    if (--links_.exportsRunning == 0 && links_.releasePending) ReleaseOfficeLinks(links_);
}

void RunOfficeExport(OfficeLinks& links, const win::Bitmap& picture, std::function<void(OfficeExportJob&)> calls)
{
    if (links.exportsRunning > 0) return;
    const OfficeExportScope running(links);
    // The picture may change while the calls run (or after they are given up).
    auto copy = std::make_shared<win::Bitmap>();
    if (!picture.Empty()) copy->Assign(picture);
    if (!links.thread) links.thread = std::make_shared<OfficeThread>();
    const std::shared_ptr<OfficeThread> thread = links.thread;
    // Moves only: nothing of the thread's apartment is counted or released here.
    auto work = std::make_shared<OfficeReferences>();
    std::swap(*work, static_cast<OfficeReferences&>(links));
    auto job = [work, copy, calls = std::move(calls)](HWND window) {
        OfficeExportJob context{*work, *copy, window};
        calls(context);
    };
    OfficeThread::Outcome outcome = OfficeThread::Outcome::GivenUp;
    try {
        outcome = thread->Run(std::move(job), links.callLimitMs);
    } catch (...) {
        std::swap(*work, static_cast<OfficeReferences&>(links));
        throw;
    }
    if (outcome == OfficeThread::Outcome::Done) {
        std::swap(*work, static_cast<OfficeReferences&>(links));
        return;
    }
    // The application hangs: its references are released with the thread,
    // once the hung call returns.
    thread->Retire([work] { work->Clear(); });
    if (links.thread == thread) links.thread.reset();
    throw win::Error(win::AutomationErrorText(RPC_E_CALL_CANCELED, nullptr));
}

namespace {

// The application's instance registered in the running-object table.
bool RunningObject(const CLSID& clsid, win::ComPtr<IDispatch>& app)
{
    // Watched: a hung application leaves these waiting as any call to it.
    win::ComPtr<IUnknown> unknown;
    if (FAILED(win::CallWatched([&] { return ::GetActiveObject(clsid, nullptr, unknown.put()); })) || !unknown)
        return false;
    win::ComPtr<IDispatch> object;
    if (FAILED(win::CallWatched([&] {
            return unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.put()));
        })) ||
        !object)
        return false;
    app = std::move(object);
    return true;
}

bool NewInstance(const CLSID& clsid, win::ComPtr<IDispatch>& app)
{
    win::ComPtr<IDispatch> object;
    if (FAILED(win::CallWatched([&] {
            return ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                      reinterpret_cast<void**>(object.put()));
        })) ||
        !object)
        return false;
    app = std::move(object);
    return true;
}

// The application behind a reference has gone away (quit or crashed).
bool IsGone(HRESULT hr)
{
    return hr == RPC_E_DISCONNECTED || hr == CO_E_OBJNOTCONNECTED || hr == RPC_E_SERVER_DIED ||
           hr == RPC_E_SERVER_DIED_DNE || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE);
}

// application.collection.member(args): the document it gives, or the failure.
win::ComPtr<IDispatch> CollectionCall(IDispatch* app, const OfficeDocumentKind& kind, std::wstring_view member,
                                      WORD flags, const win::Variant* argument, HRESULT& hr)
{
    win::CallResult collection = win::GetProperty(app, kind.collection);
    win::ComPtr<IDispatch> documents = win::ResultObject(collection);
    if (!documents) {
        hr = collection.hr;
        return {};
    }
    std::vector<const VARIANT*> args;
    if (argument) args.push_back(argument->get());
    win::CallResult call = win::Invoke(documents.get(), member, flags, args);
    win::ComPtr<IDispatch> document = win::ResultObject(call);
    hr = call.hr;
    return document;
}

}  // namespace

AttachOutcome AttachOfficeDocument(const OfficeDocumentKind& kind, const win::Variant& lookupKey,
                                   win::ComPtr<IDispatch>& app, win::ComPtr<IDispatch>& document,
                                   std::wstring* rememberedName)
{
    CLSID clsid{};
    const bool known = SUCCEEDED(::CLSIDFromProgID(std::wstring(kind.progId).c_str(), &clsid));

    // A second round is made only when the first one met an application that
    // has gone away behind a live-looking reference: then a new instance is
    // started, and the running-object table (which may still hold the dead
    // entry) is not asked again.
    bool replacingDeadApp = false;
    for (;;) {
        bool fresh = false;
        if (replacingDeadApp || !known || !RunningObject(clsid, app)) {
            const bool started = known && NewInstance(clsid, app);
            const bool foundAgain = started && !replacingDeadApp ? RunningObject(clsid, app) : false;
            if (!started || !foundAgain) {
                fresh = true;
                if (rememberedName) rememberedName->clear();
            }
        }

        HRESULT hr = S_OK;
        win::ComPtr<IDispatch> found;
        AttachOutcome outcome = AttachOutcome::NewDocument;
        if (!fresh) {
            found = CollectionCall(app.get(), kind, L"Item", kind.lookupFlags, &lookupKey, hr);
            if (found) outcome = AttachOutcome::KeptDocument;
        }
        if (!found) found = CollectionCall(app.get(), kind, kind.newMember, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                           nullptr, hr);
        if (found) {
            document = std::move(found);
            return outcome;
        }
        if (IsGone(hr) && app && !replacingDeadApp && known) {
            replacingDeadApp = true;
            app.reset();
            continue;
        }
        if (rememberedName) rememberedName->clear();
        document.reset();
        app.reset();
        return AttachOutcome::Failed;
    }
}
