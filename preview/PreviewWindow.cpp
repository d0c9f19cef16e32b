#include "preview/PreviewWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "preview/MenuPictures.h"
#include "resources/resource.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/Gdi.h"
#include "win/ToolTip.h"

namespace {

constexpr wchar_t kPreviewClass[] = L"TPreviewForm";
constexpr wchar_t kPanelClass[] = L"TavroPanel";
constexpr wchar_t kScrollBoxClass[] = L"TavroScrollBox";
constexpr wchar_t kImageClass[] = L"TavroImage";
constexpr int kToolbarHeight = 70;
constexpr int kPictureMargin = 10;
constexpr int kSwatchSize = 16;
constexpr int kScrollLine = 16;
constexpr int kToolButtonWidth = 60;

constexpr wchar_t kRetryHint[] = L"Retry Image Selection";

struct ToolButton {
    int id;
    int x;
    int icon;
};

// In keyboard tab order; x is the position on the toolbar. Each button but
// Retry shows its action's caption and hint.
constexpr ToolButton kToolButtons[] = {
    {TPreviewForm::RetryBut, 5, IDI_RETRY},
    {CopyToClipboardAction, 135, IDI_COPY},
    {SaveFileAction, 70, IDI_SAVE},
    {MakePowerPointAction, 265, IDI_POWERPOINT},
    {MakeWordAction, 330, IDI_WORD},
    {MakeExcelAction, 395, IDI_EXCEL},
    {RunSelectedEditorAction, 460, IDI_PROGRAM},
    {ClockwiseAction, 200, IDI_ROTATE},
    {MailAction, 525, IDI_MAIL},
    {PrintAction, 590, IDI_PRINT},
};

// Child containers hand their controls' notifications up to the form.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The picture control paints the bitmap its user data points at.
LRESULT CALLBACK ImageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_PAINT) {
        win::PaintDC paint(hwnd);
        auto* bitmap = reinterpret_cast<win::Bitmap*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        // A picture whose canvas cannot be made (no GDI resources left) is not
        // painted; it is reported once, not on every repaint.
        static bool reported = false;
        try {
            if (bitmap && !bitmap->Empty()) {
                const RECT& r = paint.dirty();
                ::BitBlt(paint.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, bitmap->Canvas(),
                         r.left, r.top, SRCCOPY);
            }
            reported = false;
        } catch (...) {
            if (!reported) {
                reported = true;
                win::ReportCurrentException();
            }
        }
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
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

TPreviewForm::TPreviewForm(win::TActionList& actions, const TCapturedPicture& picture,
                           COLORREF backgroundColor)
    : actions_(actions), capture_(picture)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    win::RegisterFormClass(kPreviewClass, WindowProc, ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVRO)),
                           ::GetSysColorBrush(COLOR_BTNFACE));
    win::RegisterFormClass(kPanelClass, ContainerProc, nullptr, ::GetSysColorBrush(COLOR_BTNFACE), 0);
    win::RegisterFormClass(kScrollBoxClass, ContainerProc, nullptr, ::GetSysColorBrush(COLOR_BTNFACE), 0);
    win::RegisterFormClass(kImageClass, ImageProc, nullptr, nullptr, 0);
    CreateFormWindow(kPreviewClass, L" Previewer", WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, 0, 665, 480);
    defaultButtonId_ = SaveFileAction;
    cancelButtonId_ = CopyToClipboardAction;
    FormCreate(backgroundColor);
    CenterOnDesktop();
}

TPreviewForm::~TPreviewForm()
{
    if (mainMenu_ && Hwnd()) ::SetMenu(Hwnd(), nullptr);
    if (mainMenu_) ::DestroyMenu(mainMenu_);
}

void TPreviewForm::FormCreate(COLORREF backgroundColor)
{
    CreateToolbar();
    CreateMainMenu();
    CreateStatusBar();

    scrollBox_ = AddControl(kScrollBoxClass, L"", WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, 0,
                            kToolbarHeight, 100, 100, ScrollBox1, WS_EX_CONTROLPARENT);
    image_ = AddControl(kImageClass, L"", 0, kPictureMargin, kPictureMargin, 0, 0, Image1, 0, scrollBox_);
    ::SetWindowLongPtrW(image_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&picture_));
    // A focus holder above the visible area.
    focusHolder_ = AddControl(L"BUTTON", L"Button1", BS_PUSHBUTTON | WS_TABSTOP, 10, -30, 75, 25,
                              Button1, 0, scrollBox_);
    LayoutControls();
    SetBackgroundColor(backgroundColor);
}

void TPreviewForm::CreateToolbar()
{
    toolPanel_ = AddControl(kPanelClass, L"", WS_CLIPCHILDREN, 0, 0, 665, kToolbarHeight, ToolPanel,
                            WS_EX_CONTROLPARENT);
    toolTip_ = win::CreateToolTips(Hwnd());
    for (const ToolButton& b : kToolButtons) {
        const win::TAction* action = actions_.Find(b.id);
        HWND button = AddControl(L"BUTTON", action ? action->caption : L"Retry",
                                 BS_PUSHBUTTON | WS_TABSTOP, b.x, 3, kToolButtonWidth, 65, b.id, 0, toolPanel_);
        SetButtonPicture(button, b.icon, 32);
        ::SetWindowSubclass(button, ToolButtonSubclass, 1, reinterpret_cast<DWORD_PTR>(this));

        win::AddToolTip(toolTip_, Hwnd(), button, action ? action->hint : kRetryHint);
        if (action) actions_.BindButton(button);
    }
    win::Application.RegisterToolTip(toolTip_);
    SetToolbarFont();
}

void TPreviewForm::SetToolbarFont()
{
    // Every caption fits its button, inside the button's edges (4 pixels a
    // side at 96 DPI): a long caption makes the font of all of them smaller.
    std::vector<std::wstring> captions;
    for (const ToolButton& b : kToolButtons) {
        wchar_t text[64] = {};
        ::GetWindowTextW(Control(b.id), text, 64);
        captions.emplace_back(text);
    }
    win::UniqueFont font = win::CreateMessageFontToFit(Dpi(), captions, Scale(kToolButtonWidth - 8));
    for (const ToolButton& b : kToolButtons)
        ::SendMessageW(Control(b.id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    toolbarFont_ = std::move(font);
}

void TPreviewForm::SetMenuIcon(MenuIcon& item)
{
    // 16 pixels at 96 DPI, at a size the icon holds.
    win::UniqueBitmap picture = MenuIconPicture(item.iconId, win::IconSize(16, Dpi()));
    SetMenuItemPicture(item.menu, item.id, picture.get());
    item.picture = std::move(picture);  // the previous one is no longer shown
}

void TPreviewForm::MakeSwatch()
{
    win::UniqueBitmap swatch = MenuSwatch(Scale(kSwatchSize), swatchColor_);
    SetMenuItemPicture(setMenu_, BackgroundColorDialogAction, swatch.get());
    swatch_ = std::move(swatch);
}

void TPreviewForm::CreateMainMenu()
{
    struct Item {
        int id;
        const wchar_t* caption;  // nullptr: the action's caption
        int icon;
    };
    auto addItems = [this](HMENU menu, std::initializer_list<Item> items) {
        for (const Item& item : items) {
            if (item.id == 0) {
                ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            const win::TAction* action = actions_.Find(item.id);
            std::wstring caption = item.caption ? item.caption : action ? action->caption : L"";
            ::AppendMenuW(menu, MF_STRING, item.id, caption.c_str());
            if (item.icon) {
                menuIcons_.push_back({menu, item.id, item.icon, win::UniqueBitmap()});
                SetMenuIcon(menuIcons_.back());
            }
        }
    };
    mainMenu_ = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    addItems(file, {{SaveFileAction, L"Save as File", IDI_SAVE},
                    {PrintAction, L"Print Image", IDI_PRINT},
                    {MailAction, L"Mail as Attachment", IDI_MAIL},
                    {Exit1, L"Close Previewer", IDI_CLOSE}});
    HMENU edit = ::CreatePopupMenu();
    addItems(edit, {{Retry1, L"Retry Image Selection", IDI_RETRY},
                    {0, nullptr, 0},
                    {CopyToClipboardAction, L"Copy to Clipboard", IDI_COPY},
                    {0, nullptr, 0},
                    {ClockwiseAction, L"Rotate Clockwise", IDI_ROTATE},
                    {CounterClockwiseAction, L"Rotate CounterClockwise", IDI_ROTATE_CCW},
                    {MirrorAction, L"Mirror Image", IDI_MIRROR},
                    {0, nullptr, 0},
                    {DateStampBMPAction, nullptr, IDI_DATESTAMP},
                    {UnDateStampBMPAction, nullptr, IDI_UNDATESTAMP}});
    HMENU programs = ::CreatePopupMenu();
    addItems(programs, {{MakePowerPointAction, nullptr, IDI_POWERPOINT},
                        {MakeWordAction, nullptr, IDI_WORD},
                        {MakeExcelAction, nullptr, IDI_EXCEL},
                        {RunUserProgramOnlyAction, L"User Program", IDI_PROGRAM},
                        {RunDefaultProgramOnlyAction, nullptr, IDI_PROGRAM},
                        {RunMSPaintOnlyAction, nullptr, IDI_PROGRAM}});
    setMenu_ = ::CreatePopupMenu();
    addItems(setMenu_, {{SettingsAction, nullptr, IDI_SETTINGS},
                        {BackgroundColorDialogAction, nullptr, 0},
                        {BackgroundColorPickOnScreenAction, nullptr, IDI_PICKCOLOR}});
    HMENU help = ::CreatePopupMenu();
    addItems(help, {{ShowHelpAction, nullptr, IDI_HELP}, {ShowAboutAction, nullptr, IDI_ABOUT}});

    ::AppendMenuW(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
    ::AppendMenuW(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"Edit");
    ::AppendMenuW(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(programs), L"Programs");
    // Named "Settings" as a component; shown as "Set".
    ::AppendMenuW(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(setMenu_), L"Set");
    ::AppendMenuW(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");

    // The background-colour item carries the colour swatch as its picture.
    MakeSwatch();

    ::SetMenu(Hwnd(), mainMenu_);
    actions_.BindMenu(mainMenu_);
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
    for (MenuIcon& item : menuIcons_) SetMenuIcon(item);
    MakeSwatch();
    ::DrawMenuBar(Hwnd());
    SetStatusParts();
    LayoutControls();
}

HWND TPreviewForm::Control(int id) const
{
    switch (id) {
    case ToolPanel: return toolPanel_;
    case ScrollBox1: return scrollBox_;
    case Image1: return image_;
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
    ::MoveWindow(scrollBox_, 0, toolbarHeight, client.right,
                 std::max(0L, client.bottom - toolbarHeight - statusHeight), TRUE);
    UpdateScrollRange();
}

void TPreviewForm::UpdateScrollRange()
{
    RECT view;
    ::GetClientRect(scrollBox_, &view);
    const int margin = Scale(kPictureMargin);
    // Scroll bars appear only when the picture does not fit; showing one
    // narrows the view for the other, so settle both twice.
    for (int pass = 0; pass < 2; ++pass) {
        SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE, 0, margin + picture_.Width() - 1,
                     static_cast<UINT>(view.right), 0, 0};
        SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE, 0, margin + picture_.Height() - 1,
                     static_cast<UINT>(view.bottom), 0, 0};
        ::SetScrollInfo(scrollBox_, SB_HORZ, &h, TRUE);
        ::SetScrollInfo(scrollBox_, SB_VERT, &v, TRUE);
        ::GetClientRect(scrollBox_, &view);
    }
    const int maxX = std::max(0, margin + picture_.Width() - static_cast<int>(view.right));
    const int maxY = std::max(0, margin + picture_.Height() - static_cast<int>(view.bottom));
    ScrollTo(std::min(scrollX_, maxX), std::min(scrollY_, maxY));
}

void TPreviewForm::ScrollTo(int x, int y)
{
    scrollX_ = std::max(0, x);
    scrollY_ = std::max(0, y);
    ::SetScrollPos(scrollBox_, SB_HORZ, scrollX_, TRUE);
    ::SetScrollPos(scrollBox_, SB_VERT, scrollY_, TRUE);
    scrollX_ = ::GetScrollPos(scrollBox_, SB_HORZ);
    scrollY_ = ::GetScrollPos(scrollBox_, SB_VERT);
    // The margin is scaled; the picture is shown in its own pixels.
    const int margin = Scale(kPictureMargin);
    ::SetWindowPos(image_, nullptr, margin - scrollX_, margin - scrollY_,
                   picture_.Width(), picture_.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(scrollBox_, nullptr, TRUE);
}

void TPreviewForm::OnScroll(int bar, int request)
{
    SCROLLINFO info{sizeof info, SIF_ALL};
    ::GetScrollInfo(scrollBox_, bar, &info);
    int pos = info.nPos;
    switch (request) {
    case SB_LINEUP: pos -= Scale(kScrollLine); break;
    case SB_LINEDOWN: pos += Scale(kScrollLine); break;
    case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    if (bar == SB_HORZ)
        ScrollTo(pos, scrollY_);
    else
        ScrollTo(scrollX_, pos);
}

void TPreviewForm::ShowBMP(const win::Bitmap& bitmap)
{
    picture_.Assign(bitmap);
    ScrollTo(0, 0);
    UpdateScrollRange();
    ::InvalidateRect(image_, nullptr, FALSE);
    const std::wstring size = SizeText(bitmap.Width(), bitmap.Height());
    ::SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(size.c_str()));
}

void TPreviewForm::SetBackgroundColor(COLORREF color)
{
    swatchColor_ = color;
    if (swatch_) {
        PaintSwatch(swatch_.get(), color);
        ::DrawMenuBar(Hwnd());
    }
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

void TPreviewForm::FormShow() { ShowBMP(capture_.OutputImage()); }

HWND TPreviewForm::InitialFocus() { return Control(RetryBut); }

void TPreviewForm::RetryButClick() { SetModalResult(win::mrRetry); }

void TPreviewForm::Retry1Click() { RetryButClick(); }

void TPreviewForm::Exit1Click() { Close(); }

bool TPreviewForm::OnCommand(int id, int code, HWND)
{
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

void TPreviewForm::RouteHint(HWND under)
{
    std::wstring hint;
    if (::GetParent(under) == toolPanel_) {
        const int id = ::GetDlgCtrlID(under);
        if (const win::TAction* action = actions_.Find(id))
            hint = action->hint;
        else if (id == RetryBut)
            hint = kRetryHint;
    }
    win::Application.SetHint(hint);
}

void TPreviewForm::MenuHint(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && !menu) {
        win::Application.SetHint(L"");
        return;
    }
    if (flags & MF_POPUP) {
        // Only the "Set" menu has a hint of its own.
        const bool isSet = menu == mainMenu_ && ::GetSubMenu(mainMenu_, static_cast<int>(item)) == setMenu_;
        win::Application.SetHint(isSet ? L"About This Program" : L"");
        return;
    }
    if (const win::TAction* action = actions_.Find(static_cast<int>(item)))
        win::Application.SetHint(action->hint);
    else if (item == Exit1)
        win::Application.SetHint(L"Close This Previewer");
    else if (item == Retry1)
        win::Application.SetHint(kRetryHint);
    else
        win::Application.SetHint(L"");
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
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam == 0) OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(scrollX_, scrollY_ - GET_WHEEL_DELTA_WPARAM(wParam) * 40 / WHEEL_DELTA);
        return 0;
    case WM_MENUSELECT:
        MenuHint(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    default:
        return Form::HandleMessage(message, wParam, lParam);
    }
}
