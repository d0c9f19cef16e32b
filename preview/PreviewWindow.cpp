#include "preview/PreviewWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "resources/resource.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/ToolTip.h"

namespace {

constexpr wchar_t kPreviewClass[] = L"TPreviewForm";
constexpr wchar_t kPanelClass[] = L"TavroPanel";
constexpr int kToolbarHeight = 70;
constexpr int kPictureMargin = 10;
constexpr int kToolButtonWidth = 60;

constexpr wchar_t kRetryHint[] = L"Retry Image Selection";
constexpr wchar_t kCropHint[] = L"Drag the area to keep: Enter or a double-click crops, Escape cancels";

// The preview's own commands, which close the window rather than run an action.
void AddOwnCommands(std::vector<PreviewCommand>& commands)
{
    using enum PreviewMenu;
    commands.push_back({TPreviewForm::RetryBut, L"Retry", kRetryHint,
                        {.button = 0, .tab = 0, .picture = IDI_RETRY}});
    commands.push_back({TPreviewForm::Retry1, L"Retry Image Selection", kRetryHint,
                        {.menu = Edit, .item = 3, .picture = IDI_RETRY}});
    commands.push_back({TPreviewForm::Exit1, L"Close Previewer", L"Close This Previewer",
                        {.menu = File, .item = 3, .picture = IDI_CLOSE}});
    AddMarkupCommands(commands);
}

std::vector<PreviewCommand> WithOwnCommands(std::vector<PreviewCommand> commands)
{
    AddOwnCommands(commands);
    return commands;
}

// The toolbar's buttons in keyboard tab order.
std::vector<const PreviewCommand*> ToolbarButtons(const std::vector<PreviewCommand>& commands)
{
    std::vector<const PreviewCommand*> buttons;
    for (const PreviewCommand& c : commands)
        if (c.place.button >= 0) buttons.push_back(&c);
    std::sort(buttons.begin(), buttons.end(),
              [](const PreviewCommand* a, const PreviewCommand* b) { return a->place.tab < b->place.tab; });
    for (size_t i = 0; i < buttons.size(); ++i)
        for (size_t j = 0; j < i; ++j) {
            const PreviewPlace& a = buttons[i]->place;
            const PreviewPlace& b = buttons[j]->place;
            if (a.button == b.button || a.tab == b.tab)
                throw std::logic_error("two preview toolbar buttons in one place");
        }
    return buttons;
}

// After a click on a toolbar button no button keeps a focus frame.
LRESULT CALLBACK ToolButtonSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR form) noexcept
{
    LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_LBUTTONUP) reinterpret_cast<TPreviewForm*>(form)->HideFocus();
    return result;
}

}  // namespace

std::wstring TPreviewForm::SizeText(int width, int height)
{
    return L" " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
           L"   (width x height in pixels)";
}

TPreviewForm::TPreviewForm(win::TActionList& actions, std::vector<PreviewCommand> commands,
                           const Document& document, COLORREF backgroundColor)
    : actions_(actions), document_(document), markup_(document), commands_(WithOwnCommands(std::move(commands))),
      menus_(commands_, win::SystemDpi())
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    win::RegisterFormClass(kPreviewClass, WindowProc, ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVRO)),
                           ::GetSysColorBrush(COLOR_BTNFACE));
    win::RegisterContainerClass(kPanelClass);
    CreateFormWindow(kPreviewClass, L" Previewer", WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, 0,
                     665 + kMarkupStripWidth, 480);
    FormCreate(backgroundColor);
    CenterOnDesktop();
}

TPreviewForm::~TPreviewForm()
{
    // The menus belong to menus_, not to the window.
    if (Hwnd()) ::SetMenu(Hwnd(), nullptr);
}

void TPreviewForm::FormCreate(COLORREF backgroundColor)
{
    // The menus were made before the window: now its monitor's DPI is known.
    if (menus_.Dpi() != Dpi()) menus_.SetDpi(Dpi());
    CreateToolbar();
    CreateMarkupStrip();
    ::SetMenu(Hwnd(), menus_.Bar());
    actions_.BindMenu(menus_.Bar());
    CreateStatusBar();

    picture_.Create(Hwnd(), ScrollBox1, Image1, kPictureMargin, Dpi());
    picture_.OnMouse = [this](UINT message, POINT at) {
        return (tool_ && tool_->Mouse(message, at)) || markup_.Mouse(message, at);
    };
    picture_.OnPaintOver = [this](HDC dc) {
        if (tool_) tool_->Draw(dc);
        markup_.Draw(dc);
    };
    crop_.Apply = [this](const RECT& area) { return ApplyCrop && ApplyCrop(area); };
    crop_.Changed = [this] {
        picture_.Repaint();
        SetHintPanel(crop_.Active() ? kCropHint : L"");
    };
    // A focus holder above the visible area.
    focusHolder_ = AddControl(L"BUTTON", L"Button1", BS_PUSHBUTTON | WS_TABSTOP, 10, -30, 75, 25, Button1, 0,
                              picture_.Hwnd());
    LayoutControls();
    SetBackgroundColor(backgroundColor);
}

void TPreviewForm::CreateToolbar()
{
    toolPanel_ = AddControl(kPanelClass, L"", WS_CLIPCHILDREN, 0, 0, 665, kToolbarHeight, ToolPanel,
                            WS_EX_CONTROLPARENT);
    toolTip_ = win::CreateToolTips(Hwnd());
    for (const PreviewCommand* command : ToolbarButtons(commands_)) {
        const PreviewPlace& place = command->place;
        HWND button = AddControl(L"BUTTON", command->caption, BS_PUSHBUTTON | WS_TABSTOP, 5 + 65 * place.button, 3,
                                 kToolButtonWidth, 65, command->id, 0, toolPanel_);
        SetButtonPicture(button, place.picture, 32);
        ::SetWindowSubclass(button, ToolButtonSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
        win::AddToolTip(toolTip_, Hwnd(), button, command->hint);
        if (actions_.IsAction(command->id)) actions_.BindButton(button);
        if (place.key == PreviewKey::Enter) defaultButtonId_ = command->id;
        if (place.key == PreviewKey::Escape) cancelButtonId_ = command->id;
    }
    win::Application.RegisterToolTip(toolTip_);
    SetToolbarFont();
}

void TPreviewForm::SetToolbarFont()
{
    // Every caption fits its button, inside the button's edges (4 pixels a
    // side at 96 DPI): a long caption makes the font of all of them smaller.
    const std::vector<const PreviewCommand*> buttons = ToolbarButtons(commands_);
    std::vector<std::wstring> captions;
    for (const PreviewCommand* command : buttons) captions.push_back(command->caption);
    win::UniqueFont font = win::CreateMessageFontToFit(Dpi(), captions, Scale(kToolButtonWidth - 8));
    for (const PreviewCommand* command : buttons)
        ::SendMessageW(Control(command->id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    toolbarFont_ = std::move(font);  // the previous one is no longer shown
}

void TPreviewForm::CreateStatusBar()
{
    statusBar_ = AddControl(STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, 0, 0, 0, 0, StatusBar1);
    SetStatusParts();
    // Two tabs right-align a status bar panel's text.
    ::SendMessageW(statusBar_, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(L"\t\tTAVRO      "));
}

void TPreviewForm::SetStatusParts()
{
    // The last panel runs to the right edge, as the last panel of a status bar does.
    int parts[] = {Scale(250), Scale(500), -1};
    ::SendMessageW(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

void TPreviewForm::DpiChanged()
{
    SetToolbarFont();
    menus_.SetDpi(Dpi());
    ::DrawMenuBar(Hwnd());
    SetStatusParts();
    picture_.SetDpi(Dpi());
    markup_.SetDpi(Dpi());
    PaintColorSwatch();
    LayoutControls();
}

HWND TPreviewForm::Control(int id) const
{
    switch (id) {
    case ToolPanel: return toolPanel_;
    case ScrollBox1: return picture_.Hwnd();
    case Image1: return picture_.PictureControl();
    case Button1: return focusHolder_;
    case StatusBar1: return statusBar_;
    default: return ::GetDlgItem(toolPanel_, id);
    }
}

void TPreviewForm::LayoutControls()
{
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT status;
    ::GetWindowRect(statusBar_, &status);
    const int statusHeight = status.bottom - status.top;
    const int toolbarHeight = Scale(kToolbarHeight);
    ::MoveWindow(toolPanel_, 0, 0, client.right, toolbarHeight, TRUE);
    const int strip = MarkupStripWidth();
    const int pictureHeight = std::max(0, static_cast<int>(client.bottom) - toolbarHeight - statusHeight);
    ::MoveWindow(markupStrip_, 0, toolbarHeight, strip, pictureHeight, TRUE);
    picture_.Move(strip, toolbarHeight, std::max(0, static_cast<int>(client.right) - strip), pictureHeight);
}

void TPreviewForm::ShowBMP(const win::Bitmap& bitmap)
{
    picture_.Show(bitmap);
    const std::wstring size = SizeText(bitmap.Width(), bitmap.Height());
    ::SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(size.c_str()));
}

void TPreviewForm::ShowChange(const RECT& changed)
{
    crop_.Cancel();
    const win::Bitmap& picture = document_.Picture();
    picture_.Update(picture, changed);
    const std::wstring size = SizeText(picture.Width(), picture.Height());
    ::SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(size.c_str()));
}

void TPreviewForm::BeginCrop()
{
    HideFocus();
    markup_.Choose(MarkupTool::None);
    UseTool(&crop_);
    crop_.Begin(picture_.PictureControl(), document_.Width(), document_.Height(), Dpi());
}

void TPreviewForm::UseTool(PictureTool* tool)
{
    if (tool_ && tool_ != tool) tool_->Cancel();
    tool_ = tool;
    picture_.Repaint();
}

bool TPreviewForm::OnKey(const MSG& msg)
{
    if (!(tool_ && tool_->Active()) && markup_.Key(msg)) return true;
    if (msg.message != WM_KEYDOWN) {
        // The character of a key used below must not reach a control either.
        return msg.message == WM_CHAR && tool_ && tool_->Active() && (msg.wParam == L'\r' || msg.wParam == 27);
    }
    if (tool_ && tool_->Active() && tool_->Key(msg.wParam)) return true;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    const bool alt = ::GetKeyState(VK_MENU) < 0;
    PreviewKey key = PreviewKey::None;
    if (ctrl && !alt && msg.wParam == 'Z') key = shift ? PreviewKey::Redo : PreviewKey::Undo;
    if (ctrl && !alt && !shift && msg.wParam == 'Y') key = PreviewKey::Redo;
    if (!ctrl && !alt && !shift && msg.wParam == 'C') key = PreviewKey::Crop;
    if (!ctrl && !alt && !shift && msg.wParam == VK_F3) key = PreviewKey::Pin;
    if (key == PreviewKey::None) return false;
    for (const PreviewCommand& c : commands_)
        if (c.place.key == key) {
            if (actions_.Enabled(c.id) && RunCommand) RunCommand(c.id);
            return true;
        }
    return false;
}

void TPreviewForm::SetBackgroundColor(COLORREF color)
{
    menus_.SetSwatchColor(color);
    ::DrawMenuBar(Hwnd());
}

void TPreviewForm::HideFocus() { ::SetFocus(focusHolder_); }

void TPreviewForm::SetHintPanel(const std::wstring& text)
{
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring TPreviewForm::PanelText(int panel) const
{
    const LRESULT info = ::SendMessageW(statusBar_, SB_GETTEXTLENGTHW, panel, 0);
    std::wstring text(LOWORD(info) + 1, L'\0');
    ::SendMessageW(statusBar_, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return text;
}

void TPreviewForm::FormShow()
{
    UseTool(nullptr);
    markup_.Reset();
    ShowBMP(document_.Picture());
}

HWND TPreviewForm::InitialFocus() { return Control(RetryBut); }

void TPreviewForm::RetryButClick() { SetModalResult(win::mrRetry); }

void TPreviewForm::Retry1Click() { RetryButClick(); }

void TPreviewForm::Exit1Click() { Close(); }

bool TPreviewForm::OnCommand(int id, int code, HWND)
{
    if (code == BN_CLICKED && MarkupCommand(id)) return true;  // menu items come with code 0 too
    if (id == RetryBut && code == BN_CLICKED) {
        RetryButClick();
        return true;
    }
    if (id == Retry1 && code == 0) {
        Retry1Click();
        return true;
    }
    if (id == Exit1 && code == 0) {
        Exit1Click();
        return true;
    }
    if (actions_.IsAction(id) && (code == 0 || code == BN_CLICKED)) {
        if (RunCommand) RunCommand(id);
        return true;
    }
    return false;
}

const PreviewCommand* TPreviewForm::FindCommand(int id) const noexcept
{
    for (const PreviewCommand& c : commands_)
        if (c.id == id) return &c;
    return nullptr;
}

void TPreviewForm::RouteHint(HWND under)
{
    const PreviewCommand* command = nullptr;
    if (::GetParent(under) == toolPanel_) command = FindCommand(::GetDlgCtrlID(under));
    win::Application.SetHint(command ? command->hint : std::wstring());
}

void TPreviewForm::MenuHint(UINT item, UINT flags, HMENU menu)
{
    std::wstring hint;
    if (flags == 0xFFFF && !menu)
        hint.clear();  // the menu closed
    else if (flags & MF_POPUP)
        hint = menus_.PopupHint(menu, item);
    else if (const PreviewCommand* command = FindCommand(static_cast<int>(item)))
        hint = command->hint;
    win::Application.SetHint(hint);
}

LRESULT TPreviewForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        LayoutControls();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {Scale(250), Scale(200)};
        return 0;
    }
    case WM_SETCURSOR:
        RouteHint(reinterpret_cast<HWND>(wParam));
        return DefaultMessage(message, wParam, lParam);
    case WM_MOUSEWHEEL:
        picture_.Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_MENUSELECT:
        MenuHint(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    default:
        return Form::HandleMessage(message, wParam, lParam);
    }
}
