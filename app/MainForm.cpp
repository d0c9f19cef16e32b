#include "app/MainForm.h"

#include "app/ActionTable.h"
#include "app/SettingsDialog.h"
#include "app/SettingsRegistry.h"
#include "app/SingleInstance.h"
#include "output/TempImageFile.h"
#include "output/CaptureSave.h"
#include "preview/PreviewWindow.h"
#include "resources/resource.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/Gdi.h"

namespace {

constexpr wchar_t kMainClass[] = L"TForm1";
constexpr int kIconControl = 100;
constexpr int kLabelControl = 101;
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr wchar_t kTrayHint[] = L"Tavro Screen Capture";
// Posted by the installer and the uninstaller (installer/tavro.nsi) to a
// running copy: end as Exit does, so the settings are written first.
constexpr wchar_t kExitRequestMessage[] = L"TavroExitRequest";

}  // namespace

TForm1::TForm1() : ActionList1(ActionTableRows())
{
    exitRequest_ = ::RegisterWindowMessageW(kExitRequestMessage);
    icon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVRO));
    win::RegisterFormClass(kMainClass, WindowProc, icon_, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateFormWindow(kMainClass, L" Tavro Screen Capture",
                     WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 330, 76, true);
    CreateAboutPanel();
    CenterOnDesktop();

    Menu1.reset(::CreatePopupMenu());
    ::AppendMenuW(Menu1.get(), MF_STRING, ShowHelpAction, ActionList1.Find(ShowHelpAction)->caption.c_str());
    ::AppendMenuW(Menu1.get(), MF_STRING, SettingsAction, ActionList1.Find(SettingsAction)->caption.c_str());
    ::AppendMenuW(Menu1.get(), MF_STRING, SaveScreenSelect, L"CAPTURE SCREEN");
    ::AppendMenuW(Menu1.get(), MF_STRING, RecordGif, L"Record GIF");
    // Greyed until a capture of this run gives it a region.
    ::AppendMenuW(Menu1.get(), MF_STRING | MF_GRAYED, CaptureLastRegion, L"Capture Last Region");
    ::AppendMenuW(Menu1.get(), MF_STRING, Exit1, L"E&xit");
    ActionList1.BindMenu(Menu1.get());

    const int traySize = win::IconSize(16, win::SystemDpi());
    trayIcon_ = win::LoadIconResource(IDI_TAVRO, traySize);
    recordingIcon_ = win::LoadIconResource(IDI_RECORDING, traySize);
    Tray1.Create(trayIcon_ ? trayIcon_.get() : icon_, kTrayHint, Menu1.get());
    Tray1.OnClick = [this](UINT) { Tray1Click(); };
    Tray1.OnDblClick = [this](bool& restore) { Tray1DblClick(restore); };
    Tray1.OnRestore = [this] { RestoreMainWindow(); };
    // Commands run from the message loop, not from inside the shell's callback.
    Tray1.OnMenuCommand = [this](UINT command) { ::PostMessageW(Hwnd(), WM_COMMAND, command, 0); };
    Tray1.InterceptPress = [this] {
        if (StopRecording) {
            StopRecording();
            return true;
        }
        if (!countingDown_) return false;
        countdownCancelled_ = true;
        return true;
    };
    Tray1.OnBalloonClick = [this] {
        if (!balloonFile_.empty()) win::RunCommand([this] { ShowFileInFolder(balloonFile_); });
    };
    Tray1.RequestMessage = CaptureRequestMessage();
    // A program that is closing refuses: the later start then runs in its place.
    Tray1.OnRequest = [this] {
        if (closing_) return false;
        RequestCapture();
        return true;
    };

    FormCreate();
}

TForm1::~TForm1() { Tray1.Deactivate(); }

void TForm1::CreateAboutPanel()
{
    HWND iconControl = AddControl(L"STATIC", L"", SS_ICON, 16, 20, 32, 32, kIconControl);
    SetControlIcon(iconControl, ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVRO));
    HWND label = AddControl(L"STATIC", L"Tavro Screen Capture v2.0", SS_LEFT | SS_NOPREFIX, 64, 29,
                            250, 18, kLabelControl);
    UseHeadingFont(label);
}

void TForm1::FormCreate()
{
    ReadIniFile();
    win::Application.ShowMainForm = false;
}

void TForm1::Loaded()
{
    // An icon the shell refuses now (at sign-in) is added when it can be.
    Tray1.Activate();
    ApplyCaptureHotKey();
    ApplyRecordHotKey();
}

void TForm1::RequestCapture() { ::PostMessageW(Hwnd(), WM_COMMAND, SaveScreenSelect, 0); }

void TForm1::ApplyCaptureHotKey()
{
    ApplyHotKey(HotKey1, AppSettings.CaptureHotKey, appliedHotKey_);
    ApplyHotKey(LastRegionKey, AppSettings.LastRegionHotKey, appliedLastRegionKey_);
}

void TForm1::ApplyHotKey(TCaptureHotKey& key, int wanted, int& applied)
{
    // A key that could not serve is tried again (its holder may have let it
    // go), but said again only when it is another key.
    const bool changed = wanted != applied;
    if (!changed && key.Problem().empty()) return;
    applied = wanted;
    const std::wstring& problem = key.Register(Hwnd(), applied);
    if (changed && !problem.empty()) {
        balloonFile_.clear();
        Tray1.ShowBalloon(kTrayHint, problem);
    }
}

void TForm1::RegionCaptured(const LastRegion& region)
{
    LastCaptureRegion = region;
    UpdateLastRegionItem();
}

void TForm1::UpdateLastRegionItem()
{
    const bool enabled = LastCaptureRegion.has_value() && !capturing_;
    ::EnableMenuItem(Menu1.get(), CaptureLastRegion, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TForm1::ShowSavedBalloon(const std::wstring& file)
{
    balloonFile_ = file;
    Tray1.ShowBalloon(kTrayHint, L"Saved to " + file + L"\nClick here to show it in its folder.", NIIF_INFO);
}

void TForm1::ApplyRecordHotKey() { ApplyHotKey(RecordHotKey, AppSettings.RecordHotKey, appliedRecordKey_); }

void TForm1::RecordingChanged(std::function<void()> stop)
{
    StopRecording = std::move(stop);
    const HICON shown = trayIcon_ ? trayIcon_.get() : icon_;
    Tray1.SetIcon(StopRecording && recordingIcon_ ? recordingIcon_.get() : shown);
    try {
        Tray1.SetHint(StopRecording ? std::wstring(kTrayHint) + L": recording (click to stop)" : kTrayHint);
    } catch (...) {
        // The tip only informs.
    }
}

void TForm1::RecordingDone()
{
    if (exitAfterRecording_) ::PostMessageW(Hwnd(), WM_COMMAND, Exit1, 0);
}

void TForm1::ShowCountdown(int secondsLeft) noexcept
{
    if (secondsLeft > 0 && !countingDown_) countdownCancelled_ = false;
    countingDown_ = secondsLeft > 0;
    const std::wstring hint = countingDown_
        ? std::wstring(kTrayHint) + L": capture in " + std::to_wstring(secondsLeft) + L" s"
        : std::wstring(kTrayHint);
    try {
        Tray1.SetHint(hint);
    } catch (...) {
        // The tip only informs; the countdown goes on without it.
    }
}

void TForm1::ReadIniFile()
{
    ReadSettings(AppSettings);
}

void TForm1::SaveIniFile() { SaveSettings(AppSettings); }

bool TForm1::SaveScreenSelectEnabled() const
{
    return !(::GetMenuState(Menu1.get(), SaveScreenSelect, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

void TForm1::SetSaveScreenSelectEnabled(bool enabled)
{
    ::EnableMenuItem(Menu1.get(), SaveScreenSelect, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    ::EnableMenuItem(Menu1.get(), RecordGif, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    capturing_ = !enabled;
    UpdateLastRegionItem();
}

void TForm1::Tray1Click() { Tray1.PopupAtCursor(); }

void TForm1::Tray1DblClick(bool& restore) { restore = SaveScreenSelectEnabled(); }

void TForm1::RestoreMainWindow()
{
    if (::IsIconic(Hwnd())) ::ShowWindow(Hwnd(), SW_RESTORE);
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::SetForegroundWindow(Hwnd());
    ::BringWindowToTop(Hwnd());
}

void TForm1::Tray1Minimize()
{
    Tray1.MinimizeToTray = true;
    if (::IsWindowVisible(Hwnd())) ::ShowWindow(Hwnd(), SW_HIDE);
}

void TForm1::ShowAboutActionExecute()
{
    Tray1.MinimizeToTray = false;
    if (::IsIconic(Hwnd())) ::ShowWindow(Hwnd(), SW_RESTORE);
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::SetForegroundWindow(Hwnd());
}

void TForm1::ApplicationEvents1Hint()
{
    win::Application.SetShowHint(AppSettings.ShowHints);
    if (AppSettings.ShowHints && PreviewForm) PreviewForm->SetHintPanel(win::Application.Hint());
}

void TForm1::Exit1Click()
{
    if (PreviewForm && PreviewForm->Showing()) PreviewForm->Close();
    if (SetForm && SetForm->Showing()) SetForm->Close();
    Close();
}

bool TForm1::FormCloseQuery()
{
    // A recording stops first, its save is offered, then the program ends.
    if (StopRecording) {
        exitAfterRecording_ = true;
        StopRecording();
        return false;
    }
    // The preview hides as soon as it is closed, but its capture runs on until
    // its modal loop returns: go to the tray instead of ending.
    if (PreviewForm && PreviewForm->InModalLoop()) {
        ::PostMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return false;
    }
    return true;
}

void TForm1::FormClose()
{
    // The tray goes first, and commands still queued are dropped, so nothing
    // can start a capture or an export while the close runs (the fade-out
    // processes messages).
    closing_ = true;
    HotKey1.Unregister();
    RecordHotKey.Unregister();
    LastRegionKey.Unregister();
    Tray1.Deactivate();
    Pins.CloseAll();
    // The Office references next; the applications keep their documents.
    ReleaseOfficeLinks(OfficeLinks1);
    try {
        SaveIniFile();
    } catch (const std::exception& e) {
        // The user is told, and the program still ends.
        win::Application.ShowException(e);
    }
    if (::IsWindowVisible(Hwnd())) FadeOut();
    Picture.Clear();
    // The pictures handed to image programs during the run.
    DeleteTempImageFiles();
    ::DestroyWindow(Hwnd());
}

void TForm1::FadeOut()
{
    const LONG_PTR exStyle = ::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) {
        ::SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(Hwnd(), 0, 255, LWA_ALPHA);
    }
    for (int v = 255; v >= 0; --v) {
        ::SetLayeredWindowAttributes(Hwnd(), 0, static_cast<BYTE>(v), LWA_ALPHA);
        ProcessMessages();
        if (v > 200 || (v & 1)) ::Sleep(1);
    }
}

void TForm1::ExecuteCommand(int id)
{
    if (closing_) return;
    win::RunCommand([&] {
        switch (id) {
        case SaveScreenSelect:
            if (SaveScreenSelectEnabled() && SaveScreenSelectClick) SaveScreenSelectClick();
            break;
        case RecordGif:
            if (RecordGifClick && (StopRecording || SaveScreenSelectEnabled())) RecordGifClick();
            break;
        case CaptureLastRegion:
            if (capturing_ || !CaptureLastRegionClick) break;
            if (LastCaptureRegion) {
                CaptureLastRegionClick();
            } else {
                balloonFile_.clear();
                Tray1.ShowBalloon(kTrayHint, L"Capture Last Region takes the region of the last capture again: "
                                             L"capture one first");
            }
            break;
        case Exit1:
            Exit1Click();
            break;
        default:
            ActionList1.Execute(id);
            break;
        }
    });
}

bool TForm1::OnCommand(int id, int, HWND)
{
    ExecuteCommand(id);
    return true;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == exitRequest_ && exitRequest_ != 0) {
        // With the preview open this only closes it, as Exit does; the
        // sender asks again until the program has ended.
        ExecuteCommand(Exit1);
        return 0;
    }
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            Tray1Minimize();
            if (Tray1.MinimizeToTray && Tray1.Active()) {
                Tray1.EnsureAdded();
                ::ShowWindow(Hwnd(), SW_HIDE);
                return 0;
            }
        }
        return DefaultMessage(message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
        if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kLabelControl) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, kMaroon);
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        return DefaultMessage(message, wParam, lParam);
    case WM_HOTKEY:
        if (wParam == TCaptureHotKey::kCaptureId) RequestCapture();
        if (wParam == TCaptureHotKey::kRecordId) {
            if (StopRecording) StopRecording();
            else ::PostMessageW(Hwnd(), WM_COMMAND, RecordGif, 0);
        }
        if (wParam == TCaptureHotKey::kLastRegionId) ::PostMessageW(Hwnd(), WM_COMMAND, CaptureLastRegion, 0);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Logoff or shutdown ends a tray program without its Exit: the
        // settings are written now, with no window and no message box.
        if (wParam) {
            HotKey1.Unregister();
            ReleaseOfficeLinks(OfficeLinks1);
            try {
                SaveIniFile();
            } catch (...) {
            }
        }
        return 0;
    case WM_DESTROY:
        HotKey1.Unregister();
        RecordHotKey.Unregister();
        LastRegionKey.Unregister();
        Tray1.Deactivate();
        ::PostQuitMessage(0);
        return 0;
    default:
        return Form::HandleMessage(message, wParam, lParam);
    }
}
