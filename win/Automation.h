// Late-bound OLE Automation: an owner for COM interface pointers, an owner for
// VARIANTs, and member calls by name through IDispatch::GetIDsOfNames and
// IDispatch::Invoke. The calls report the HRESULT and a text for the user;
// nothing here shows a window or ends the process.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <objidl.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace win {

// Releases one reference as a watched call (see BusyRetryScope): the release
// of an out-of-process object is a call to its application too.
void ReleaseWatched(IUnknown* object) noexcept;

// Owns one reference of a COM interface pointer.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Adds a reference to p.
    explicit ComPtr(T* p) noexcept : p_(p) { if (p_) p_->AddRef(); }
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr& other) noexcept : p_(other.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(const ComPtr& other) noexcept
    {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* p) noexcept
    {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Releases the reference now; the pointer becomes null.
    void reset() noexcept
    {
        if (T* p = std::exchange(p_, nullptr)) ReleaseWatched(p);
    }
    // For functions that hand out a new reference through T**.
    T** put() noexcept
    {
        reset();
        return &p_;
    }
    void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

private:
    T* p_ = nullptr;
};

// Owns a VARIANT: cleared on destruction and before every reassignment.
class Variant {
public:
    Variant() noexcept { ::VariantInit(&v_); }
    ~Variant();  // a release of the object held is a watched call
    Variant(const Variant& other);
    Variant& operator=(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;

    // A 32-bit integer (VT_I4).
    static Variant Int(long value);
    // An automation string (VT_BSTR); throws std::bad_alloc when out of memory.
    static Variant Text(std::wstring_view value);
    // An automation boolean: VARIANT_TRUE (-1) or VARIANT_FALSE.
    static Variant Bool(bool value);
    // An object reference (VT_DISPATCH), adding a reference; null gives VT_EMPTY.
    static Variant Object(IDispatch* value);
    // A reference to another VARIANT (VT_VARIANT | VT_BYREF), as a caller passes
    // its own variable "by reference". target must outlive the call.
    static Variant RefTo(VARIANT* target);

    VARIANT* get() noexcept { return &v_; }
    const VARIANT* get() const noexcept { return &v_; }
    VARTYPE Type() const noexcept { return v_.vt; }
    bool Empty() const noexcept { return v_.vt == VT_EMPTY; }
    // Empties the variant, releasing what it held.
    void Clear() noexcept;
    // Clears and hands out the raw VARIANT for a function to fill.
    VARIANT* put() noexcept;

    // The object this variant holds (VT_DISPATCH, or VT_UNKNOWN asked for
    // IDispatch); null when it holds none.
    ComPtr<IDispatch> Dispatch() const;
    // The value converted to a number or a text; false when it cannot be.
    bool ToDouble(double& out) const;
    bool ToText(std::wstring& out) const;

private:
    VARIANT v_;
};

// The outcome of one member call.
struct CallResult {
    HRESULT hr = S_OK;
    std::wstring errorText;  // why it failed, for the user; empty on success
    Variant value;           // what a property read or a method gave back

    bool Ok() const noexcept { return SUCCEEDED(hr); }
};

// The text a user should see for a failed call: the description in the
// exception information when the object gave one, else the system's text for
// the code.
std::wstring AutomationErrorText(HRESULT hr, const EXCEPINFO* exception);

// Looks the member up by name and invokes it with flags (DISPATCH_METHOD,
// DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT or a combination); args are in the order the member declares them (for a
// property put, the value last). A null object fails with E_POINTER.
CallResult Invoke(IDispatch* object, std::wstring_view name, WORD flags,
                  const std::vector<const VARIANT*>& args);

// object.name(args...) read as a property.
CallResult GetProperty(IDispatch* object, std::wstring_view name,
                       std::initializer_list<const Variant*> args = {});
// object.name(args...) := value.
CallResult PutProperty(IDispatch* object, std::wstring_view name, const Variant& value,
                       std::initializer_list<const Variant*> args = {});
// object.name(args...) as a method (asked as DISPATCH_METHOD | DISPATCH_PROPERTYGET,
// as automation clients call members whose result they take).
CallResult CallMethod(IDispatch* object, std::wstring_view name,
                      std::initializer_list<const Variant*> args = {});

// While it lives, calls refused by a busy server (RPC_E_CALL_REJECTED,
// RPC_E_SERVERCALL_RETRYLATER: an application with a modal dialog open) are
// retried on this thread for up to limitMs each, as automation clients do: a
// message filter is registered for COM's own retries, and the calls above
// repeat a refused call themselves where COM hands the refusal back at once.
// Then the refusal is the call's result, and later calls in the scope are not
// retried any more. A call that gets no answer at all within limitMs (a hung
// server) is cancelled and fails with RPC_E_CALL_CANCELED; later calls in the
// scope are then cancelled at once when they do not answer. Use on an STA
// thread, scoped.
//
// Windows ends a waiting call when the filter says so; Wine 8 waits for the
// answer all the same. So a scope may also publish its calls to a CallWatch,
// from which another thread sees how long the current call has waited and
// can give the thread up: every later call of the scope then fails at once
// with RPC_E_CALL_CANCELED.
struct CallWatch {
    std::atomic<DWORD> startedAt{0};  // GetTickCount() at the call's start, 0 between calls
    std::atomic<bool> givenUp{false};

    // How long the current call has waited at tick count now; 0 between
    // calls. A start read a moment after now (the low bit is forced on so
    // that a start is never 0) counts as no wait, not as a wrapped one.
    DWORD WaitedMs(DWORD now) const noexcept
    {
        const DWORD started = startedAt;
        const LONG waited = static_cast<LONG>(now - started);
        return started != 0 && waited > 0 ? static_cast<DWORD>(waited) : 0;
    }
};

class BusyRetryScope {
public:
    explicit BusyRetryScope(DWORD limitMs, CallWatch* watch = nullptr);
    ~BusyRetryScope();
    BusyRetryScope(const BusyRetryScope&) = delete;
    BusyRetryScope& operator=(const BusyRetryScope&) = delete;

    // True once a call of this scope was cancelled for want of an answer.
    bool CancelledACall() const noexcept;

private:
    IMessageFilter* previous_ = nullptr;
    DWORD previousLimit_ = 0;
    DWORD previousAnswerLimit_ = 0;
    bool previousCancelled_ = false;
    CallWatch* previousWatch_ = nullptr;
    bool registered_ = false;
    UINT_PTR tick_ = 0;
};

// A call to an application that is not a member call (creating or finding
// its object, asking for an interface) made as the member calls are: retried
// while refused as busy and published to the scope's watch.
HRESULT CallWatched(const std::function<HRESULT()>& call);

// The object a call gave back; when it gave none, the result fails with
// DISP_E_TYPEMISMATCH (keeping an earlier failure as it is).
ComPtr<IDispatch> ResultObject(CallResult& result);

}  // namespace win
