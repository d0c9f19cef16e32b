// Test-only stand-in for the three Office applications our exports drive:
// an out-of-process automation server with a small object model (presentations,
// slides and shapes; documents and a selection; workbooks, sheets and ranges).
//
//   office_double.exe /regserver      registers the three under HKLM\Software\Classes
//   office_double.exe /unregserver [App]
//   office_double.exe App -Embedding  (started by COM) serves App
//
// Every automation call is appended to the file named by OFFICE_DOUBLE_LOG as
//   App: Class.Member get|put|call(arg, ...)
// with the arguments as they arrived (i4:1, str:"x", bool:-1, obj:Name, ref:...).
// Lines without a member ("App: started", "App: pasted 700x300") report state.
//
// The file named by OFFICE_DOUBLE_CONTROL is read at every call and on a timer:
//   fail App Class.Member text   the member fails with that exception text
//   busy App ms tag              refuse automation calls for ms, once per line
//   hang App Class.Member ms     the member answers only after ms, refusing
//                                nothing meanwhile, as a hung application
//   absent App                   the application cannot be started
//   quit App|all                 revoke everything and exit, as a user's quit
//   crash App                    exit at once, leaving the running-object entry
//   rotdelay App ms              register in the running-object table only
//                                after ms, as a starting application does
#include <windows.h>
#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Our own class ids for the three stand-ins.
constexpr GUID kPowerPointClsid = {0x7a1d52c0, 0x3b0e, 0x4c61, {0x9a, 0x51, 0x20, 0x6c, 0x2b, 0x11, 0x50, 0x01}};
constexpr GUID kWordClsid = {0x7a1d52c0, 0x3b0e, 0x4c61, {0x9a, 0x51, 0x20, 0x6c, 0x2b, 0x11, 0x50, 0x02}};
constexpr GUID kExcelClsid = {0x7a1d52c0, 0x3b0e, 0x4c61, {0x9a, 0x51, 0x20, 0x6c, 0x2b, 0x11, 0x50, 0x03}};

struct AppInfo {
    const wchar_t* name;
    const wchar_t* progId;
    GUID clsid;
};
const AppInfo kApps[] = {
    {L"PowerPoint", L"PowerPoint.Application", kPowerPointClsid},
    {L"Word", L"Word.Application", kWordClsid},
    {L"Excel", L"Excel.Application", kExcelClsid},
};

std::wstring gApp;  // which application this process plays

std::wstring Env(const wchar_t* name)
{
    wchar_t buffer[1024];
    DWORD n = ::GetEnvironmentVariableW(name, buffer, 1024);
    return n && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void Log(const std::wstring& line)
{
    std::wstring path = Env(L"OFFICE_DOUBLE_LOG");
    if (path.empty()) return;
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = Utf8(gApp + L": " + line) + "\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

// ---- control file ---------------------------------------------------------

std::vector<std::vector<std::wstring>> ControlLines()
{
    std::vector<std::vector<std::wstring>> lines;
    std::wstring path = Env(L"OFFICE_DOUBLE_CONTROL");
    if (path.empty()) return lines;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return lines;
    std::string raw;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) raw.append(buf, n);
    fclose(f);
    std::istringstream in(raw);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int wn = ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring wline(wn, L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wline.data(), wn);
        // command, application, then the rest split once more (fail keeps its text whole)
        std::vector<std::wstring> words;
        std::wistringstream ws(wline);
        std::wstring w;
        while (words.size() < 3 && ws >> w) words.push_back(w);
        std::wstring rest;
        std::getline(ws, rest);
        while (!rest.empty() && rest.front() == L' ') rest.erase(rest.begin());
        if (!rest.empty()) words.push_back(rest);
        if (words.size() >= 2 && (words[1] == gApp || words[1] == L"all")) {
            words.push_back(wline);
            lines.push_back(words);
        }
    }
    return lines;
}

bool ControlHas(const std::wstring& command)
{
    for (auto& l : ControlLines())
        if (l[0] == command) return true;
    return false;
}

std::set<std::wstring> gBusyApplied;
DWORD gBusyUntil = 0;

bool Busy()
{
    for (auto& l : ControlLines()) {
        if (l[0] != L"busy" || l.size() < 4) continue;
        const std::wstring& whole = l.back();
        if (gBusyApplied.insert(whole).second) gBusyUntil = ::GetTickCount() + std::stoul(l[2]);
    }
    return static_cast<LONG>(gBusyUntil - ::GetTickCount()) > 0;
}

DWORD HangMs(const std::wstring& member)
{
    for (auto& l : ControlLines())
        if (l[0] == L"hang" && l.size() >= 4 && l[2] == member) return std::stoul(l[3]);
    return 0;
}

bool FailText(const std::wstring& member, std::wstring& text)
{
    for (auto& l : ControlLines()) {
        if (l[0] == L"fail" && l.size() >= 4 && l[2] == member) {
            text = l.size() >= 5 ? l[3] : L"";
            return true;
        }
    }
    return false;
}

// ---- arguments ------------------------------------------------------------

std::wstring Describe(const VARIANT& v);

std::wstring Number(double d)
{
    wchar_t buf[64];
    swprintf(buf, 64, L"%g", d);
    return buf;
}

class Node;
std::wstring NodeLabel(IDispatch* d);

std::wstring Describe(const VARIANT& v)
{
    switch (v.vt) {
    case VT_EMPTY: return L"empty";
    case VT_I2: return L"i2:" + std::to_wstring(v.iVal);
    case VT_I4: return L"i4:" + std::to_wstring(v.lVal);
    case VT_R4: return L"r4:" + Number(v.fltVal);
    case VT_R8: return L"r8:" + Number(v.dblVal);
    case VT_BOOL: return L"bool:" + std::to_wstring(v.boolVal);
    case VT_BSTR: {
        std::wstring s(v.bstrVal ? v.bstrVal : L"", ::SysStringLen(v.bstrVal));
        std::wstring escaped;
        for (wchar_t c : s) {
            if (c == L'\r') escaped += L"\\r";
            else if (c == L'\n') escaped += L"\\n";
            else escaped += c;
        }
        return L"str:\"" + escaped + L"\"";
    }
    case VT_DISPATCH: return L"obj:" + NodeLabel(v.pdispVal);
    case VT_VARIANT | VT_BYREF: return L"ref:" + (v.pvarVal ? Describe(*v.pvarVal) : std::wstring(L"null"));
    default: return L"vt" + std::to_wstring(v.vt);
    }
}

const VARIANT& Deref(const VARIANT& v)
{
    return (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) ? *v.pvarVal : v;
}

bool ToLong(const VARIANT& v, long& out)
{
    VARIANT c;
    ::VariantInit(&c);
    if (FAILED(::VariantChangeType(&c, const_cast<VARIANT*>(&Deref(v)), 0, VT_I4))) return false;
    out = c.lVal;
    return true;
}

bool ToDouble(const VARIANT& v, double& out)
{
    VARIANT c;
    ::VariantInit(&c);
    if (FAILED(::VariantChangeType(&c, const_cast<VARIANT*>(&Deref(v)), 0, VT_R8))) return false;
    out = c.dblVal;
    return true;
}

bool ToText(const VARIANT& v, std::wstring& out)
{
    const VARIANT& d = Deref(v);
    if (d.vt != VT_BSTR) return false;
    out.assign(d.bstrVal ? d.bstrVal : L"", ::SysStringLen(d.bstrVal));
    return true;
}

// ---- the object model -----------------------------------------------------

// One automation call as a node sees it.
struct Call {
    std::wstring member;
    WORD flags = 0;
    std::vector<VARIANT*> args;  // in declared order, the put value excluded
    VARIANT* value = nullptr;    // the value of a property put
    VARIANT* result = nullptr;
    std::wstring error;          // set with DISP_E_EXCEPTION

    bool Get() const { return (flags & DISPATCH_PROPERTYGET) && !(flags & DISPATCH_METHOD); }
    bool Put() const { return (flags & DISPATCH_PROPERTYPUT) != 0; }
    bool Method() const { return (flags & DISPATCH_METHOD) != 0; }
    bool Readable() const { return (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0; }
};

std::vector<IDispatch*> gAllNodes;  // for disconnecting at quit

std::map<std::wstring, DISPID> gIds;
std::vector<std::wstring> gNames;

std::wstring Lower(std::wstring s)
{
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

class Node : public IDispatch {
public:
    Node(std::wstring cls, std::vector<std::wstring> members)
        : cls_(std::move(cls)), members_(std::move(members))
    {
        gAllNodes.push_back(this);
        AddRef();  // the model keeps every node alive until the process ends
    }
    virtual ~Node() = default;

    const std::wstring& Class() const { return cls_; }
    virtual std::wstring Label() const { return cls_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1) return DISP_E_UNKNOWNNAME;
        std::wstring name = Lower(names[0]);
        bool known = std::any_of(members_.begin(), members_.end(),
                                 [&](const std::wstring& m) { return Lower(m) == name; });
        if (!known) {
            Log(cls_ + L"." + names[0] + L" unknown");
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        auto it = gIds.find(name);
        if (it == gIds.end()) {
            it = gIds.emplace(name, static_cast<DISPID>(gNames.size() + 1)).first;
            for (auto& m : members_)
                if (Lower(m) == name) gNames.push_back(m);
        }
        ids[0] = it->second;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override
    {
        if (id < 1 || id > static_cast<DISPID>(gNames.size())) return DISP_E_MEMBERNOTFOUND;
        Call call;
        call.member = gNames[id - 1];
        call.flags = flags;
        call.result = result;
        UINT positional = params->cArgs;
        if (call.Put()) {
            if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || params->cArgs < 1)
                return DISP_E_PARAMNOTOPTIONAL;
            call.value = &params->rgvarg[0];
            positional = params->cArgs - 1;
            for (UINT i = 0; i < positional; ++i) call.args.push_back(&params->rgvarg[params->cArgs - 1 - i]);
        } else {
            if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
            for (UINT i = 0; i < positional; ++i) call.args.push_back(&params->rgvarg[params->cArgs - 1 - i]);
        }

        std::wstring line = cls_ + L"." + call.member + L" " +
                            (call.Put() ? L"put" : call.Method() ? L"call" : L"get") + L"(";
        for (size_t i = 0; i < call.args.size(); ++i) line += (i ? L", " : L"") + Describe(*call.args[i]);
        if (call.value) line += (call.args.empty() ? L"" : L", ") + Describe(*call.value);
        line += L")";
        Log(line);

        std::wstring failText;
        HRESULT hr;
        if (const DWORD hang = HangMs(cls_ + L"." + call.member)) {
            Log(L"hangs");
            ::Sleep(hang);
        }
        if (FailText(cls_ + L"." + call.member, failText)) {
            call.error = failText;
            hr = DISP_E_EXCEPTION;
        } else {
            if (result) ::VariantInit(result);
            hr = Handle(call);
        }
        if (hr == DISP_E_EXCEPTION && exception) {
            *exception = EXCEPINFO{};
            exception->bstrSource = ::SysAllocString(gApp.c_str());
            exception->bstrDescription = ::SysAllocString(call.error.c_str());
            exception->scode = E_FAIL;
        }
        if (FAILED(hr)) Log(L"  failed " + (call.error.empty() ? std::to_wstring(hr) : call.error));
        return hr;
    }

protected:
    virtual HRESULT Handle(Call& call) = 0;

    static HRESULT Fail(Call& call, const std::wstring& text)
    {
        call.error = text;
        return DISP_E_EXCEPTION;
    }
    static HRESULT ReturnObject(Call& call, IDispatch* object)
    {
        if (call.result) {
            call.result->vt = VT_DISPATCH;
            call.result->pdispVal = object;
            object->AddRef();
        }
        return S_OK;
    }
    static HRESULT ReturnText(Call& call, const std::wstring& text)
    {
        if (call.result) {
            call.result->vt = VT_BSTR;
            call.result->bstrVal = ::SysAllocString(text.c_str());
        }
        return S_OK;
    }
    static HRESULT ReturnSingle(Call& call, double value)
    {
        if (call.result) {
            call.result->vt = VT_R4;
            call.result->fltVal = static_cast<float>(value);
        }
        return S_OK;
    }
    static HRESULT ReturnLong(Call& call, long value)
    {
        if (call.result) {
            call.result->vt = VT_I4;
            call.result->lVal = value;
        }
        return S_OK;
    }
    static bool Is(const Call& call, const wchar_t* member) { return Lower(call.member) == Lower(member); }

private:
    std::wstring cls_;
    std::vector<std::wstring> members_;
    ULONG refs_ = 0;
};

std::wstring NodeLabel(IDispatch* d)
{
    if (!d) return L"null";
    for (IDispatch* n : gAllNodes)
        if (n == d) return static_cast<Node*>(n)->Label();
    return L"foreign";
}

Node* FindNode(IDispatch* d)
{
    if (!d) return nullptr;
    IUnknown* unknown = nullptr;
    if (FAILED(d->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)))) return nullptr;
    unknown->Release();
    for (IDispatch* n : gAllNodes)
        if (static_cast<IUnknown*>(n) == unknown) return static_cast<Node*>(n);
    return nullptr;
}

// The bitmap on the clipboard, as a paste sees it.
bool ClipboardBitmapSize(int& width, int& height)
{
    bool ok = false;
    for (int attempt = 0; attempt < 20 && !::OpenClipboard(nullptr); ++attempt) ::Sleep(50);
    if (HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP))) {
        BITMAP info{};
        if (::GetObjectW(bitmap, sizeof info, &info)) {
            width = info.bmWidth;
            height = info.bmHeight;
            ok = true;
        }
    }
    ::CloseClipboard();
    return ok;
}

std::wstring Quoted(const std::wstring& s)
{
    std::wstring out = L"\"";
    for (wchar_t c : s) out += c == L'\r' ? std::wstring(L"\\r") : std::wstring(1, c);
    return out + L"\"";
}

// ---- PowerPoint -------------------------------------------------------------

// A pasted bitmap measures 0.75 points a pixel (96 pixels an inch).
constexpr double kPointsPerPixel = 0.75;

struct TextRangeNode;

struct FontNode : Node {
    double size = 18;
    FontNode() : Node(L"Font", {L"Size"}) {}
    HRESULT Handle(Call& c) override
    {
        if (c.Put()) return ToDouble(*c.value, size) ? S_OK : DISP_E_TYPEMISMATCH;
        return ReturnSingle(c, size);
    }
};

struct TextRangeNode : Node {
    std::wstring text;
    FontNode* font = new FontNode;
    TextRangeNode() : Node(L"TextRange", {L"Text", L"Font"}) {}
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Font")) return ReturnObject(c, font);
        if (c.Put()) return ToText(*c.value, text) ? S_OK : DISP_E_TYPEMISMATCH;
        return ReturnText(c, text);
    }
};

struct TextFrameNode : Node {
    TextRangeNode* range = new TextRangeNode;
    TextFrameNode() : Node(L"TextFrame", {L"TextRange"}) {}
    HRESULT Handle(Call& c) override { return ReturnObject(c, range); }
};

struct ShapeNode : Node {
    std::wstring name;
    double left = 0, top = 0, width = 0, height = 0;
    TextFrameNode* frame = nullptr;
    ShapeNode(std::wstring n, bool textBox)
        : Node(L"Shape", {L"Name", L"Left", L"Top", L"Width", L"Height", L"TextFrame"}), name(std::move(n))
    {
        if (textBox) frame = new TextFrameNode;
    }
    std::wstring Label() const override { return name; }
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Name")) return ReturnText(c, name);
        if (Is(c, L"TextFrame")) return frame ? ReturnObject(c, frame) : Fail(c, L"This shape has no text frame.");
        double* field = Is(c, L"Left") ? &left : Is(c, L"Top") ? &top : Is(c, L"Width") ? &width : &height;
        if (c.Put()) return ToDouble(*c.value, *field) ? S_OK : DISP_E_TYPEMISMATCH;
        return ReturnSingle(c, *field);
    }
};

struct ShapesNode : Node {
    std::vector<ShapeNode*> shapes;
    int nextId = 2;
    ShapesNode() : Node(L"Shapes", {L"Paste", L"Item", L"AddTextbox", L"Count"}) {}
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Count")) return ReturnLong(c, static_cast<long>(shapes.size()));
        if (Is(c, L"Paste")) {
            int w = 0, h = 0;
            if (!ClipboardBitmapSize(w, h))
                return Fail(c, L"Shapes.Paste : Invalid request.  Clipboard is empty or contains data which may not be pasted here.");
            auto* shape = new ShapeNode(L"Picture " + std::to_wstring(nextId++), false);
            shape->width = w * kPointsPerPixel;
            shape->height = h * kPointsPerPixel;
            shapes.push_back(shape);
            Log(L"pasted " + std::to_wstring(w) + L"x" + std::to_wstring(h));
            return ReturnObject(c, shape);
        }
        if (Is(c, L"AddTextbox")) {
            double v[5];
            if (c.args.size() != 5) return DISP_E_BADPARAMCOUNT;
            for (int i = 0; i < 5; ++i)
                if (!ToDouble(*c.args[i], v[i])) return DISP_E_TYPEMISMATCH;
            auto* shape = new ShapeNode(L"TextBox " + std::to_wstring(nextId++), true);
            shape->left = v[1];
            shape->top = v[2];
            shape->width = v[3];
            shape->height = v[4];
            shapes.push_back(shape);
            return ReturnObject(c, shape);
        }
        // Item: by position from 1 or by name
        if (c.args.size() != 1) return DISP_E_BADPARAMCOUNT;
        std::wstring name;
        long index = 0;
        if (ToText(*c.args[0], name)) {
            for (auto* s : shapes)
                if (s->name == name) return ReturnObject(c, s);
            return Fail(c, L"The item with the specified name wasn't found.");
        }
        if (ToLong(*c.args[0], index) && index >= 1 && index <= static_cast<long>(shapes.size()))
            return ReturnObject(c, shapes[index - 1]);
        return Fail(c, L"Shapes.Item : Integer out of range.");
    }
};

struct SlideNode : Node {
    ShapesNode* shapes = new ShapesNode;
    int id;
    explicit SlideNode(int i) : Node(L"Slide", {L"Shapes", L"Select", L"SlideID"}), id(i) {}
    std::wstring Label() const override { return L"Slide" + std::to_wstring(id); }
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Shapes")) return ReturnObject(c, shapes);
        if (Is(c, L"Select")) {
            Log(L"selected " + Label());
            return S_OK;
        }
        return ReturnLong(c, id);
    }
};

struct SlidesNode : Node {
    std::vector<SlideNode*> slides;
    int nextId = 256;
    SlidesNode() : Node(L"Slides", {L"Add", L"Item", L"Count"}) {}
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Count")) return ReturnLong(c, static_cast<long>(slides.size()));
        long index = 0, layout = 0;
        if (Is(c, L"Add")) {
            if (c.args.size() != 2) return DISP_E_BADPARAMCOUNT;
            if (!ToLong(*c.args[0], index) || !ToLong(*c.args[1], layout)) return DISP_E_TYPEMISMATCH;
            if (index < 1 || index > static_cast<long>(slides.size()) + 1)
                return Fail(c, L"Slides.Add : Index out of bounds.");
            auto* slide = new SlideNode(nextId++);
            slides.insert(slides.begin() + (index - 1), slide);
            return ReturnObject(c, slide);
        }
        if (c.args.size() != 1 || !ToLong(*c.args[0], index)) return DISP_E_TYPEMISMATCH;
        if (index < 1 || index > static_cast<long>(slides.size())) return Fail(c, L"Slides.Item : Integer out of range.");
        return ReturnObject(c, slides[index - 1]);
    }
};

struct PresentationNode : Node {
    std::wstring name;
    SlidesNode* slides = new SlidesNode;
    explicit PresentationNode(std::wstring n) : Node(L"Presentation", {L"Name", L"Slides"}), name(std::move(n)) {}
    std::wstring Label() const override { return name; }
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Slides")) return ReturnObject(c, slides);
        return ReturnText(c, name);
    }
};

struct PresentationsNode : Node {
    std::vector<PresentationNode*> items;
    int next = 1;
    PresentationsNode() : Node(L"Presentations", {L"Item", L"Add", L"Count"}) {}
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Count")) return ReturnLong(c, static_cast<long>(items.size()));
        if (Is(c, L"Add")) {
            auto* p = new PresentationNode(L"Presentation" + std::to_wstring(next++));
            items.push_back(p);
            return ReturnObject(c, p);
        }
        std::wstring name;
        if (c.args.size() == 1 && ToText(*c.args[0], name))
            for (auto* p : items)
                if (p->name == name) return ReturnObject(c, p);
        return Fail(c, L"Presentations.Item : Item " + name + L" not found in the Presentations collection.");
    }
};

// ---- Word -------------------------------------------------------------------

struct DocumentNode : Node {
    std::wstring name;
    std::wstring content;
    explicit DocumentNode(std::wstring n) : Node(L"Document", {L"Name"}), name(std::move(n)) {}
    std::wstring Label() const override { return name; }
    HRESULT Handle(Call& c) override { return ReturnText(c, name); }
};

struct WordModel {
    std::vector<DocumentNode*> documents;
    DocumentNode* active = nullptr;
    int next = 1;
};
WordModel gWord;

struct SelectionNode : Node {
    SelectionNode() : Node(L"Selection", {L"TypeText", L"Paste"}) {}
    HRESULT Handle(Call& c) override
    {
        if (!gWord.active) return Fail(c, L"This command is not available because no document is open.");
        if (Is(c, L"TypeText")) {
            std::wstring text;
            if (c.args.size() != 1 || !ToText(*c.args[0], text)) return DISP_E_TYPEMISMATCH;
            gWord.active->content += text;
        } else {
            int w = 0, h = 0;
            if (!ClipboardBitmapSize(w, h)) return Fail(c, L"The clipboard is empty or not valid.");
            gWord.active->content += L"[picture " + std::to_wstring(w) + L"x" + std::to_wstring(h) + L"]";
        }
        Log(gWord.active->name + L" holds " + Quoted(gWord.active->content));
        return S_OK;
    }
};

struct DocumentsNode : Node {
    DocumentsNode() : Node(L"Documents", {L"Item", L"AddOld", L"Add", L"Count"}) {}
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Count")) return ReturnLong(c, static_cast<long>(gWord.documents.size()));
        if (Is(c, L"AddOld") || Is(c, L"Add")) {
            auto* d = new DocumentNode(L"Document" + std::to_wstring(gWord.next++));
            gWord.documents.push_back(d);
            gWord.active = d;
            return ReturnObject(c, d);
        }
        if (c.args.size() == 1) {
            const VARIANT& index = Deref(*c.args[0]);
            if (index.vt == VT_DISPATCH) {
                Node* n = FindNode(index.pdispVal);
                for (auto* d : gWord.documents)
                    if (d == n) return ReturnObject(c, d);
            }
            std::wstring name;
            if (ToText(index, name))
                for (auto* d : gWord.documents)
                    if (d->name == name) return ReturnObject(c, d);
        }
        return Fail(c, L"The requested member of the collection does not exist.");
    }
};

// ---- Excel ------------------------------------------------------------------

struct SheetNode;

struct RangeNode : Node {
    SheetNode* sheet;
    std::wstring address;
    RangeNode(SheetNode* s, std::wstring a) : Node(L"Range", {L"Value", L"Select"}), sheet(s), address(std::move(a)) {}
    HRESULT Handle(Call& c) override;
};

struct SheetNode : Node {
    std::wstring name;
    std::wstring book;
    std::map<std::wstring, std::wstring> cells;
    std::wstring selection = L"A1";
    SheetNode(std::wstring b, std::wstring n)
        : Node(L"Worksheet", {L"Range", L"Paste", L"Visible", L"Name", L"Select"}), name(std::move(n)), book(std::move(b)) {}
    std::wstring Label() const override { return book + L"!" + name; }
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Name")) return ReturnText(c, name);
        if (Is(c, L"Visible")) return c.Put() ? S_OK : ReturnLong(c, -1);
        if (Is(c, L"Select")) return S_OK;
        if (Is(c, L"Paste")) {
            int w = 0, h = 0;
            if (!ClipboardBitmapSize(w, h)) return Fail(c, L"Paste method of Worksheet class failed");
            Log(Label() + L" picture " + std::to_wstring(w) + L"x" + std::to_wstring(h) + L" at " + selection);
            return S_OK;
        }
        std::wstring first, last;
        if (c.args.empty() || !ToText(*c.args[0], first)) return DISP_E_TYPEMISMATCH;
        if (c.args.size() > 1 && !ToText(*c.args[1], last)) return DISP_E_TYPEMISMATCH;
        std::wstring address = last.empty() || last == first ? first : first + L":" + last;
        return ReturnObject(c, new RangeNode(this, address));
    }
};

HRESULT RangeNode::Handle(Call& c)
{
    if (Is(c, L"Select")) {
        sheet->selection = address;
        return S_OK;
    }
    if (c.Put()) {
        std::wstring text;
        if (!ToText(*c.value, text)) return DISP_E_TYPEMISMATCH;
        sheet->cells[address] = text;
        Log(sheet->Label() + L" " + address + L" = " + Quoted(text));
        return S_OK;
    }
    auto it = sheet->cells.find(address);
    return ReturnText(c, it == sheet->cells.end() ? L"" : it->second);
}

struct SheetsNode : Node {
    std::wstring book;
    std::vector<SheetNode*> sheets;
    int next = 1;
    explicit SheetsNode(std::wstring b) : Node(L"Sheets", {L"Add", L"Count", L"Item"}), book(std::move(b))
    {
        sheets.push_back(new SheetNode(book, L"Sheet" + std::to_wstring(next++)));
    }
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Count")) return ReturnLong(c, static_cast<long>(sheets.size()));
        if (Is(c, L"Add")) {
            auto* s = new SheetNode(book, L"Sheet" + std::to_wstring(next++));
            sheets.insert(sheets.begin(), s);
            return ReturnObject(c, s);
        }
        long index = 0;
        if (c.args.size() == 1 && ToLong(*c.args[0], index) && index >= 1 && index <= static_cast<long>(sheets.size()))
            return ReturnObject(c, sheets[index - 1]);
        return Fail(c, L"Subscript out of range");
    }
};

struct WorkbookNode : Node {
    std::wstring name;
    SheetsNode* sheets;
    explicit WorkbookNode(std::wstring n)
        : Node(L"Workbook", {L"Name", L"Sheets", L"Activate"}), name(std::move(n)), sheets(new SheetsNode(name)) {}
    std::wstring Label() const override { return name; }
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Sheets")) return ReturnObject(c, sheets);
        if (Is(c, L"Activate")) return S_OK;
        return ReturnText(c, name);
    }
};

struct WorkbooksNode : Node {
    std::vector<WorkbookNode*> items;
    int next = 1;
    WorkbooksNode() : Node(L"Workbooks", {L"Item", L"Add", L"Count"}) {}
    HRESULT Handle(Call& c) override
    {
        if (Is(c, L"Count")) return ReturnLong(c, static_cast<long>(items.size()));
        if (Is(c, L"Add")) {
            auto* w = new WorkbookNode(L"Book" + std::to_wstring(next++));
            items.push_back(w);
            return ReturnObject(c, w);
        }
        std::wstring name;
        if (c.args.size() == 1 && ToText(*c.args[0], name))
            for (auto* w : items)
                if (w->name == name) return ReturnObject(c, w);
        return Fail(c, L"Subscript out of range");
    }
};

// ---- the application ----------------------------------------------------------

struct ApplicationNode : Node {
    Node* collection = nullptr;
    Node* selection = nullptr;
    bool visible = false;
    bool fullScreen = false;
    ApplicationNode()
        : Node(L"Application", {L"Presentations", L"Documents", L"Workbooks", L"Selection", L"Visible",
                                L"DisplayFullScreen", L"Name"})
    {
        if (gApp == L"PowerPoint") collection = new PresentationsNode;
        if (gApp == L"Word") {
            collection = new DocumentsNode;
            selection = new SelectionNode;
        }
        if (gApp == L"Excel") collection = new WorkbooksNode;
    }
    HRESULT Handle(Call& c) override
    {
        const bool mine = (Is(c, L"Presentations") && gApp == L"PowerPoint") || (Is(c, L"Documents") && gApp == L"Word") ||
                          (Is(c, L"Workbooks") && gApp == L"Excel");
        if (mine) return ReturnObject(c, collection);
        if (Is(c, L"Selection") && selection) return ReturnObject(c, selection);
        if (Is(c, L"Name")) return ReturnText(c, gApp);
        bool* flag = Is(c, L"Visible") ? &visible : Is(c, L"DisplayFullScreen") ? &fullScreen : nullptr;
        if (!flag) return DISP_E_MEMBERNOTFOUND;
        if (c.Put()) {
            long v = 0;
            if (!ToLong(*c.value, v)) return DISP_E_TYPEMISMATCH;
            *flag = v != 0;
            return S_OK;
        }
        if (c.result) {
            c.result->vt = VT_BOOL;
            c.result->boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return S_OK;
    }
};

ApplicationNode* gApplication = nullptr;
DWORD gRotCookie = 0;
DWORD gClassCookie = 0;
const AppInfo* gInfo = nullptr;

struct Factory : IClassFactory {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (ControlHas(L"absent")) {
            Log(L"refused to start");
            ::PostQuitMessage(0);
            return CO_E_SERVER_EXEC_FAILURE;
        }
        Log(L"created");
        return gApplication->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};
Factory gFactory;

// Refuses automation calls while the application is busy, as an application
// with a modal dialog open does.
struct BusyFilter : IMessageFilter {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *out = static_cast<IMessageFilter*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) override
    {
        if (info && info->iid == IID_IDispatch && Busy()) {
            Log(L"refused a call (busy)");
            return SERVERCALL_REJECTED;
        }
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }
};
BusyFilter gBusyFilter;

void RegisterRunning()
{
    if (gRotCookie) return;
    if (SUCCEEDED(::RegisterActiveObject(static_cast<IDispatch*>(gApplication), gInfo->clsid, ACTIVEOBJECT_STRONG,
                                         &gRotCookie)))
        Log(L"running");
}

void Quit()
{
    // Logged once nothing can reach this instance any more, so a test that
    // waits for the line never talks to an application on its way out.
    if (gRotCookie) ::RevokeActiveObject(gRotCookie, nullptr);
    ::CoRevokeClassObject(gClassCookie);
    for (IDispatch* n : gAllNodes) ::CoDisconnectObject(n, 0);
    Log(L"quit");
    ::PostQuitMessage(0);
}

// Thread timers get their ids from SetTimer.
UINT_PTR gRotTimer = 0;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    if (id == gRotTimer) {
        ::KillTimer(nullptr, id);
        RegisterRunning();
        return;
    }
    for (auto& l : ControlLines()) {
        if (l[0] == L"quit") {
            Quit();
            return;
        }
        if (l[0] == L"crash") {
            Log(L"crashed");
            ::ExitProcess(3);
        }
    }
}

int Serve()
{
    if (FAILED(::CoInitialize(nullptr))) return 1;
    ::CoRegisterMessageFilter(&gBusyFilter, nullptr);
    gApplication = new ApplicationNode;
    Log(L"started");
    ::CoRegisterClassObject(gInfo->clsid, &gFactory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &gClassCookie);
    DWORD rotDelay = 0;
    for (auto& l : ControlLines())
        if (l[0] == L"rotdelay" && l.size() >= 3) rotDelay = std::stoul(l[2]);
    if (rotDelay) gRotTimer = ::SetTimer(nullptr, 0, rotDelay, OnTimer);
    else RegisterRunning();
    ::SetTimer(nullptr, 0, 50, OnTimer);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::CoUninitialize();
    return 0;
}

std::wstring GuidText(const GUID& g)
{
    wchar_t buf[64];
    ::StringFromGUID2(g, buf, 64);
    return buf;
}

bool SetValue(const std::wstring& key, const std::wstring& value)
{
    HKEY h;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    LONG r = ::RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(h);
    return r == ERROR_SUCCESS;
}

int Register(bool add, const std::wstring& only)
{
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    bool ok = true;
    for (const AppInfo& app : kApps) {
        if (!only.empty() && only != app.name) continue;
        std::wstring classes = L"Software\\Classes\\";
        std::wstring clsidKey = classes + L"CLSID\\" + GuidText(app.clsid);
        if (add) {
            ok = SetValue(classes + app.progId, std::wstring(app.name) + L" stand-in") && ok;
            ok = SetValue(classes + app.progId + L"\\CLSID", GuidText(app.clsid)) && ok;
            ok = SetValue(clsidKey, std::wstring(app.name) + L" stand-in") && ok;
            ok = SetValue(clsidKey + L"\\ProgID", app.progId) && ok;
            ok = SetValue(clsidKey + L"\\LocalServer32", L"\"" + std::wstring(exe) + L"\" " + app.name) && ok;
        } else {
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (classes + app.progId).c_str());
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, clsidKey.c_str());
        }
    }
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 2 && (std::wstring(argv[1]) == L"/regserver" || std::wstring(argv[1]) == L"/unregserver"))
        return Register(std::wstring(argv[1]) == L"/regserver", argc >= 3 ? argv[2] : L"");
    for (const AppInfo& app : kApps)
        if (argc >= 2 && argv[1] == std::wstring(app.name)) gInfo = &app;
    if (!gInfo) return 2;
    gApp = gInfo->name;
    return Serve();
}
