#include "win/Automation.h"

#include <new>

#include "win/Error.h"

namespace win {

namespace { void ClearWatched(VARIANT* v) noexcept; }  // a release is a watched call

Variant::Variant(const Variant& other)
{
    ::VariantInit(&v_);
    if (FAILED(::VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)))) throw std::bad_alloc();
}

Variant& Variant::operator=(const Variant& other)
{
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) { ::VariantInit(&other.v_); }

Variant::~Variant() { ClearWatched(&v_); }

Variant& Variant::operator=(Variant&& other) noexcept
{
    if (this != &other) {
        ClearWatched(&v_);
        v_ = other.v_;
        ::VariantInit(&other.v_);
    }
    return *this;
}

Variant Variant::Int(long value)
{
    Variant v;
    v.v_.vt = VT_I4;
    v.v_.lVal = value;
    return v;
}

Variant Variant::Text(std::wstring_view value)
{
    Variant v;
    BSTR text = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    if (!text) throw std::bad_alloc();
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = text;
    return v;
}

Variant Variant::Bool(bool value)
{
    Variant v;
    v.v_.vt = VT_BOOL;
    v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::Object(IDispatch* value)
{
    Variant v;
    if (value) {
        value->AddRef();
        v.v_.vt = VT_DISPATCH;
        v.v_.pdispVal = value;
    }
    return v;
}

Variant Variant::RefTo(VARIANT* target)
{
    Variant v;
    v.v_.vt = VT_VARIANT | VT_BYREF;
    v.v_.pvarVal = target;
    return v;
}

void Variant::Clear() noexcept
{
    ClearWatched(&v_);
    ::VariantInit(&v_);
}

VARIANT* Variant::put() noexcept
{
    Clear();
    return &v_;
}

ComPtr<IDispatch> Variant::Dispatch() const
{
    const VARIANT* v = &v_;
    if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal) v = v->pvarVal;
    if (v->vt == VT_DISPATCH) return ComPtr<IDispatch>(v->pdispVal);
    if (v->vt == VT_UNKNOWN && v->punkVal) {
        ComPtr<IDispatch> object;
        if (SUCCEEDED(CallWatched([&] {
                return v->punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.put()));
            })))
            return object;
    }
    return {};
}

bool Variant::ToDouble(double& out) const
{
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&v_), 0, VT_R8))) return false;
    out = converted.dblVal;
    return true;
}

bool Variant::ToText(std::wstring& out) const
{
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&v_), 0, VT_BSTR))) return false;
    out.assign(converted.bstrVal ? converted.bstrVal : L"", ::SysStringLen(converted.bstrVal));
    ::VariantClear(&converted);
    return true;
}

std::wstring AutomationErrorText(HRESULT hr, const EXCEPINFO* exception)
{
    if (exception) {
        if (exception->bstrDescription && ::SysStringLen(exception->bstrDescription) > 0)
            return std::wstring(exception->bstrDescription, ::SysStringLen(exception->bstrDescription));
        if (exception->scode != 0) hr = exception->scode;
        else if (exception->wCode != 0) return L"Error " + std::to_wstring(exception->wCode);
    }
    return SystemErrorText(static_cast<DWORD>(hr));
}

namespace {

// How long a refused call is retried on this thread; 0 when not at all. Once
// one call has waited in vain, the rest of the scope's calls are not retried,
// so a command facing an application that stays busy ends after one wait.
thread_local DWORD busyRetryLimit = 0;
constexpr DWORD kBusyRetryPause = 100;
// How long an outgoing call may wait for an answer before it is cancelled
// (0: for ever), when the call started, and whether one was cancelled. After
// one cancel the rest of the scope's calls (releases included) are not
// waited for again.
thread_local DWORD answerLimit = 0;
thread_local bool callCancelled = false;
thread_local CallWatch* callWatch = nullptr;
// While a call waits, COM asks the filter only when a message arrives: this
// timer makes sure one does.
constexpr UINT kWaitTickMs = 200;

bool IsRefusedAsBusy(HRESULT hr)
{
    return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
}

// Publishes the call to the scope's watch, if any, while it runs; a call
// made inside another one (a release while a result is stored) belongs to it.
thread_local int watchedDepth = 0;
class WatchedCall {
public:
    WatchedCall() noexcept
    {
        if (watchedDepth++ == 0 && callWatch) callWatch->startedAt = ::GetTickCount() | 1;  // 0: no call
    }
    ~WatchedCall()
    {
        if (--watchedDepth == 0 && callWatch) callWatch->startedAt = 0;
    }
    WatchedCall(const WatchedCall&) = delete;
    WatchedCall& operator=(const WatchedCall&) = delete;
};

void ClearWatched(VARIANT* v) noexcept
{
    const WatchedCall watched;
    ::VariantClear(v);
}

bool GivenUp() noexcept { return callWatch && callWatch->givenUp; }

// Calls attempt until it is not refused as busy or the retry time is over.
template <typename Attempt>
HRESULT RetryWhileBusy(Attempt attempt)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (GivenUp()) return RPC_E_CALL_CANCELED;
        HRESULT hr = [&] {
            const WatchedCall watched;
            return attempt();
        }();
        if (!IsRefusedAsBusy(hr) || busyRetryLimit == 0) return hr;
        if (::GetTickCount() - start >= busyRetryLimit) {
            busyRetryLimit = 0;
            return hr;
        }
        ::Sleep(kBusyRetryPause);
    }
}

// COM's side of the retries: asked when a server refuses an outgoing call.
class BusyRetryFilter final : public IMessageFilter {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *out = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override
    {
        return SERVERCALL_ISHANDLED;
    }
    // Retry after a pause while the time allows; -1 gives the refusal back.
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD rejectType) override
    {
        const bool busy = rejectType == SERVERCALL_RETRYLATER || rejectType == SERVERCALL_REJECTED;
        return busy && elapsed < busyRetryLimit ? kBusyRetryPause : static_cast<DWORD>(-1);
    }
    // A call that has waited past the bound without any answer (an application
    // that hangs rather than refuses) is cancelled: it then fails with
    // RPC_E_CALL_CANCELED like any other failure.
    // COM passes how long the call has waited.
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD elapsed, DWORD) override
    {
        if (answerLimit == 0 || elapsed < answerLimit) return PENDINGMSG_WAITDEFPROCESS;
        callCancelled = true;
        answerLimit = 1;  // what follows in the scope is not waited for again
        return PENDINGMSG_CANCELCALL;
    }

private:
    LONG refs_ = 1;
};

// Frees what Invoke may have put in the exception information.
struct ExceptionInfo {
    EXCEPINFO info{};
    ~ExceptionInfo() { Clear(); }
    void Clear()
    {
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
        info = EXCEPINFO{};
    }
};

CallResult Failed(HRESULT hr, const EXCEPINFO* exception = nullptr)
{
    CallResult result;
    result.hr = hr;
    result.errorText = AutomationErrorText(hr, exception);
    return result;
}

std::vector<const VARIANT*> Raw(std::initializer_list<const Variant*> args)
{
    std::vector<const VARIANT*> raw;
    raw.reserve(args.size() + 1);
    for (const Variant* a : args) raw.push_back(a->get());
    return raw;
}

}  // namespace

CallResult Invoke(IDispatch* object, std::wstring_view name, WORD flags,
                  const std::vector<const VARIANT*>& args)
{
    if (!object) return Failed(E_POINTER);

    std::wstring memberName(name);
    LPOLESTR names[1] = {memberName.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr =
        RetryWhileBusy([&] {
            return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        });
    if (FAILED(hr)) return Failed(hr);

    // Invoke takes the arguments last to first. It does not change them (apart
    // from what a by-reference argument points to), so the const_cast is safe.
    std::vector<VARIANTARG> reversed;
    reversed.reserve(args.size());
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(**it);

    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(reversed.size());
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &putId;
    }

    CallResult result;
    ExceptionInfo exception;
    UINT badArgument = 0;
    hr = RetryWhileBusy([&] {
        exception.Clear();
        return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.value.put(),
                              &exception.info, &badArgument);
    });
    if (FAILED(hr)) {
        if (hr == DISP_E_EXCEPTION && exception.info.pfnDeferredFillIn)
            exception.info.pfnDeferredFillIn(&exception.info);
        return Failed(hr, hr == DISP_E_EXCEPTION ? &exception.info : nullptr);
    }
    return result;
}

CallResult GetProperty(IDispatch* object, std::wstring_view name,
                       std::initializer_list<const Variant*> args)
{
    return Invoke(object, name, DISPATCH_PROPERTYGET, Raw(args));
}

CallResult PutProperty(IDispatch* object, std::wstring_view name, const Variant& value,
                       std::initializer_list<const Variant*> args)
{
    std::vector<const VARIANT*> raw = Raw(args);
    raw.push_back(value.get());
    return Invoke(object, name, DISPATCH_PROPERTYPUT, raw);
}

CallResult CallMethod(IDispatch* object, std::wstring_view name,
                      std::initializer_list<const Variant*> args)
{
    return Invoke(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, Raw(args));
}

BusyRetryScope::BusyRetryScope(DWORD limitMs, CallWatch* watch)
    : previousLimit_(busyRetryLimit),
      previousAnswerLimit_(answerLimit),
      previousCancelled_(callCancelled),
      previousWatch_(callWatch)
{
    callWatch = watch;
    auto* filter = new BusyRetryFilter;
    registered_ = SUCCEEDED(::CoRegisterMessageFilter(filter, &previous_));
    filter->Release();  // COM keeps its own reference while registered
    busyRetryLimit = limitMs;
    answerLimit = limitMs;
    callCancelled = false;
    tick_ = ::SetTimer(nullptr, 0, kWaitTickMs, nullptr);
}

bool BusyRetryScope::CancelledACall() const noexcept { return callCancelled; }

BusyRetryScope::~BusyRetryScope()
{
    if (tick_) ::KillTimer(nullptr, tick_);
    busyRetryLimit = previousLimit_;
    answerLimit = previousAnswerLimit_;
    callCancelled = previousCancelled_;
    callWatch = previousWatch_;
    if (registered_) ::CoRegisterMessageFilter(previous_, nullptr);
    if (previous_) previous_->Release();
}

HRESULT CallWatched(const std::function<HRESULT()>& call) { return RetryWhileBusy(call); }

void ReleaseWatched(IUnknown* object) noexcept
{
    const WatchedCall watched;
    object->Release();
}

ComPtr<IDispatch> ResultObject(CallResult& result)
{
    if (!result.Ok()) return {};
    ComPtr<IDispatch> object = result.value.Dispatch();
    if (!object) {
        result.hr = DISP_E_TYPEMISMATCH;
        result.errorText = AutomationErrorText(result.hr, nullptr);
    }
    return object;
}

}  // namespace win
