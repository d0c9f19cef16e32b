// Program entry: create the forms in their order, bind the commands, put the
// icon in the tray and run the message loop. No window is shown at start.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <memory>

#include "app/ActionTable.h"
#include "app/CommandBindings.h"
#include "app/MainForm.h"
#include "app/SingleInstance.h"
#include "win/Application.h"

namespace {

// OLE for the whole run: clipboard, shell dialogs and automation need it.
class OleScope {
public:
    OleScope() noexcept : ok_(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleScope() { if (ok_) ::OleUninitialize(); }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

private:
    bool ok_;
};

int RunMessageLoop()
{
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// Creates the forms, runs the program and returns its exit code; capture
// starts a capture as soon as the icon is in the tray.
int Run(bool capture)
{
    // Created in this order; each lives until the end of the run.
    auto form1 = std::make_unique<TForm1>();
    auto fileExistsForm = std::make_unique<TFileExistsForm>();
    auto imageForm = std::make_unique<TImageForm>();
    TAppSettings& settings = form1->AppSettings;
    auto selectForm = std::make_unique<TSelectForm>(settings.CaptureShapeIndex);
    auto imageEdForm = std::make_unique<TImageEdForm>();
    auto setForm = std::make_unique<TSetForm>(settings);
    auto previewForm = std::make_unique<TPreviewForm>(form1->ActionList1, PreviewCommands(), form1->Picture,
                                                      static_cast<COLORREF>(settings.BackgroundColor));
    BindCommands(*form1, {*fileExistsForm, *imageForm, *selectForm, *imageEdForm, *setForm, *previewForm});

    TForm1& main = *form1;
    win::Application.OnHint = [&main] { main.ApplicationEvents1Hint(); };
    struct HintOff {
        ~HintOff() { win::Application.OnHint = nullptr; }
    } hintOff;
    main.Loaded();
    if (capture) main.RequestCapture();
    return RunMessageLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // A later start asks the running program for a capture (as its key
    // would) and ends: one icon in the tray. When that program was closing,
    // this start runs in its place.
    SingleInstance instance;
    if (!instance.IsFirst()) {
        const SingleInstance::HandOver handOver = instance.RequestCapture(TStTrayIcon::kWindowClass);
        if (handOver != SingleInstance::HandOver::RunAsFirst)
            return handOver == SingleInstance::HandOver::Taken ? 0 : 1;
    }
    const bool capture = WantsCapture(::GetCommandLineW());
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    OleScope ole;
    win::Form::HandleCommandError = [](const std::exception& e) { win::Application.ShowException(e); };
    try {
        win::Application.Title = L"Tavro Screen Capture v2.0";
        win::Application.HelpFile = L"tavro.chm";
        return Run(capture);
    } catch (...) {
        // Start-up failed (or an error escaped the loop): say why, then end.
        win::ReportCurrentException();
        return 1;
    }
}
