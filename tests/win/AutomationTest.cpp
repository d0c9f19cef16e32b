// Late-bound calls against an in-process object that records what reaches
// IDispatch::Invoke: argument order and types, the property-put convention,
// the error texts, references, and the retries of calls refused as busy.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "win/Automation.h"
#include "win/Error.h"

namespace {

class FakeDispatch : public IDispatch {
public:
    // What Invoke received, arguments in declared order.
    WORD flags = 0;
    std::vector<VARTYPE> types;
    std::vector<std::wstring> values;
    UINT namedCount = 0;
    DISPID namedId = 0;
    // What Invoke does.
    HRESULT answer = S_OK;
    std::wstring description;
    bool deferred = false;
    SCODE scode = 0;
    int refusals = 0;  // calls refused as busy before one is taken
    int attempts = 0;
    IDispatch* give = nullptr;
    ULONG refs = 1;
    const win::CallWatch* watch = nullptr;
    DWORD watchedStart = 0;  // what the watch showed while Invoke ran
    DWORD watchedQuery = 0, watchedRelease = 0;  // ... while QueryInterface and Release ran

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (watch) watchedQuery = watch->startedAt;
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (watch) watchedRelease = watch->startedAt;
        return --refs;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override
    {
        if (std::wstring(names[0]) == L"Missing") return DISP_E_UNKNOWNNAME;
        ids[0] = 7;
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE FillIn(EXCEPINFO* info)
    {
        info->bstrDescription = ::SysAllocString(L"Filled in later");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD f, DISPPARAMS* p, VARIANT* result, EXCEPINFO* info,
                                     UINT*) override
    {
        if (watch) watchedStart = watch->startedAt;
        if (attempts++ < refusals) return RPC_E_CALL_REJECTED;
        flags = f;
        types.clear();
        values.clear();
        for (UINT i = p->cArgs; i-- > 0;) {
            VARIANT& v = p->rgvarg[i];
            types.push_back(v.vt);
            VARIANT text;
            ::VariantInit(&text);
            VARIANT* source = v.vt == (VT_VARIANT | VT_BYREF) ? v.pvarVal : &v;
            values.push_back(SUCCEEDED(::VariantChangeType(&text, source, 0, VT_BSTR)) ? text.bstrVal : L"?");
            ::VariantClear(&text);
        }
        namedCount = p->cNamedArgs;
        namedId = p->cNamedArgs ? p->rgdispidNamedArgs[0] : 0;
        if (answer == DISP_E_EXCEPTION) {
            if (!description.empty()) info->bstrDescription = ::SysAllocString(description.c_str());
            if (deferred) info->pfnDeferredFillIn = FillIn;
            info->scode = scode;
        }
        if (SUCCEEDED(answer) && result && give) {
            result->vt = VT_DISPATCH;
            result->pdispVal = give;
            give->AddRef();
        }
        return answer;
    }
};

TEST(Automation, ArgumentsArriveInOrderWithAutomationTypes)
{
    FakeDispatch object;
    const win::Variant one = win::Variant::Int(1);
    const win::Variant text = win::Variant::Text(L"A2");
    const win::Variant yes = win::Variant::Bool(true);
    EXPECT_TRUE(win::CallMethod(&object, L"Add", {&one, &text, &yes}).Ok());
    EXPECT_EQ(object.flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    EXPECT_EQ(object.types, (std::vector<VARTYPE>{VT_I4, VT_BSTR, VT_BOOL}));
    EXPECT_EQ(object.values, (std::vector<std::wstring>{L"1", L"A2", L"-1"}));
    EXPECT_EQ(yes.get()->boolVal, VARIANT_TRUE);  // all bits set
    EXPECT_EQ(object.namedCount, 0u);

    // A put passes the value as the one named argument, after the indexes.
    const win::Variant index = win::Variant::Text(L"B5");
    EXPECT_TRUE(win::PutProperty(&object, L"Value", win::Variant::Int(480), {&index}).Ok());
    EXPECT_EQ(object.flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(object.types, (std::vector<VARTYPE>{VT_BSTR, VT_I4}));
    EXPECT_EQ(object.values, (std::vector<std::wstring>{L"B5", L"480"}));
    EXPECT_EQ(object.namedCount, 1u);
    EXPECT_EQ(object.namedId, DISPID_PROPERTYPUT);

    // A variable passed by reference, holding an object.
    FakeDispatch document;
    win::Variant kept = win::Variant::Object(&document);
    const win::Variant byReference = win::Variant::RefTo(kept.get());
    EXPECT_TRUE(win::GetProperty(&object, L"Item", {&byReference}).Ok());
    EXPECT_EQ(object.flags, DISPATCH_PROPERTYGET);
    EXPECT_EQ(object.types, (std::vector<VARTYPE>{VT_VARIANT | VT_BYREF}));
    kept.Clear();
    EXPECT_EQ(document.refs, 1u);
}

TEST(Automation, FailuresCarryTheObjectsOrTheSystemsText)
{
    FakeDispatch object;
    win::CallResult missing = win::CallMethod(&object, L"Missing");
    EXPECT_EQ(missing.hr, DISP_E_UNKNOWNNAME);
    EXPECT_EQ(missing.errorText, win::SystemErrorText(static_cast<DWORD>(DISP_E_UNKNOWNNAME)));
    EXPECT_FALSE(missing.errorText.empty());

    object.answer = DISP_E_EXCEPTION;
    object.description = L"The slide cannot be added";
    EXPECT_EQ(win::CallMethod(&object, L"Add").errorText, L"The slide cannot be added");

    object.description.clear();
    object.deferred = true;
    EXPECT_EQ(win::CallMethod(&object, L"Add").errorText, L"Filled in later");

    object.deferred = false;
    object.scode = E_ACCESSDENIED;
    EXPECT_EQ(win::CallMethod(&object, L"Add").errorText, win::SystemErrorText(static_cast<DWORD>(E_ACCESSDENIED)));

    EXPECT_EQ(win::CallMethod(nullptr, L"Add").hr, E_POINTER);

    // A call that gives no object where one is wanted fails.
    object.answer = S_OK;
    win::CallResult noObject = win::GetProperty(&object, L"Name");
    EXPECT_FALSE(win::ResultObject(noObject));
    EXPECT_EQ(noObject.hr, DISP_E_TYPEMISMATCH);
}

TEST(Automation, ObjectsGivenBackAreOwnedOnce)
{
    FakeDispatch object;
    FakeDispatch child;
    object.give = &child;
    {
        win::CallResult result = win::GetProperty(&object, L"Slides");
        win::ComPtr<IDispatch> slides = win::ResultObject(result);
        EXPECT_EQ(slides.get(), &child);
        win::ComPtr<IDispatch> copy = slides;
        EXPECT_EQ(child.refs, 4u);
    }
    EXPECT_EQ(child.refs, 1u);
    EXPECT_EQ(object.refs, 1u);
}

TEST(Automation, CallsRefusedAsBusyAreRetriedOnlyWithinAScope)
{
    ::CoInitialize(nullptr);
    FakeDispatch object;
    object.refusals = 3;
    EXPECT_EQ(win::CallMethod(&object, L"Paste").hr, RPC_E_CALL_REJECTED);
    {
        win::BusyRetryScope busy(2000);
        object.attempts = 0;
        EXPECT_TRUE(win::CallMethod(&object, L"Paste").Ok());
        EXPECT_EQ(object.attempts, 4);

        // Not for ever: the refusal comes back after the time is over.
        win::BusyRetryScope shortWait(300);
        object.attempts = 0;
        object.refusals = 1000;
        const DWORD start = ::GetTickCount();
        EXPECT_EQ(win::CallMethod(&object, L"Paste").hr, RPC_E_CALL_REJECTED);
        EXPECT_LT(::GetTickCount() - start, 1500u);
        // After one wait in vain, the scope's later calls are not kept waiting.
        object.attempts = 0;
        EXPECT_EQ(win::CallMethod(&object, L"Paste").hr, RPC_E_CALL_REJECTED);
        EXPECT_EQ(object.attempts, 1);
    }
    {
        // A new scope waits again.
        win::BusyRetryScope again(2000);
        object.attempts = 0;
        object.refusals = 2;
        EXPECT_TRUE(win::CallMethod(&object, L"Paste").Ok());
    }
    ::CoUninitialize();
}

TEST(Automation, AWatchedScopeShowsItsCallsAndFailsThemOnceGivenUp)
{
    ::CoInitialize(nullptr);
    FakeDispatch object;
    win::CallWatch watch;
    object.watch = &watch;
    {
        win::BusyRetryScope busy(2000, &watch);
        EXPECT_TRUE(win::CallMethod(&object, L"Paste").Ok());
        EXPECT_NE(object.watchedStart, 0u);
        EXPECT_EQ(watch.startedAt, 0u);
        // Calls that are not member calls are watched too.
        win::ComPtr<IDispatch> found;
        EXPECT_EQ(win::CallWatched([&] {
                      return object.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(found.put()));
                  }),
                  S_OK);
        EXPECT_NE(object.watchedQuery, 0u);
        found.reset();
        EXPECT_NE(object.watchedRelease, 0u);
        EXPECT_EQ(watch.startedAt, 0u);
        watch.givenUp = true;
        object.attempts = 0;
        EXPECT_EQ(win::CallMethod(&object, L"Paste").hr, RPC_E_CALL_CANCELED);
        EXPECT_EQ(object.attempts, 0);
    }
    ::CoUninitialize();

    // A start read just after the watcher's clock is no wait, not a wrapped one.
    win::CallWatch clock;
    EXPECT_EQ(clock.WaitedMs(1000), 0u);
    clock.startedAt = 1001;
    EXPECT_EQ(clock.WaitedMs(1000), 0u);
    EXPECT_EQ(clock.WaitedMs(1501), 500u);
    clock.startedAt = 0xFFFFFF01u;
    EXPECT_EQ(clock.WaitedMs(0x100), 0x1FFu);
}

TEST(Automation, AnUnansweredCallIsCancelledByTheTimeCOMGivesEvenOnAFreshThread)
{
    // The filter is asked with the time the call has waited, whoever made it.
    std::thread([] {
        ::CoInitialize(nullptr);
        const win::BusyRetryScope busy(2000);
        IMessageFilter* filter = nullptr;
        ::CoRegisterMessageFilter(nullptr, &filter);  // ours, taken out to be asked directly
        EXPECT_EQ(filter->MessagePending(nullptr, 100, PENDINGTYPE_TOPLEVEL), DWORD(PENDINGMSG_WAITDEFPROCESS));
        EXPECT_EQ(filter->MessagePending(nullptr, 2500, PENDINGTYPE_TOPLEVEL), DWORD(PENDINGMSG_CANCELCALL));
        EXPECT_TRUE(busy.CancelledACall());
        filter->Release();
    }).join();
}

}  // namespace
