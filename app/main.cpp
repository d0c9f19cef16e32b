// Program entry: create the forms in their order, bind the commands, put the
// icon in the tray and run the message loop. No window is shown at start.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <memory>

#include "app/AppSettings.h"
#include "app/CommandBindings.h"
#include "app/MainForm.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    OleScope ole;
    win::Application.Title = L"Tavro Screen Capture v2.0";
    win::Application.HelpFile = L"tavro.chm";
    win::Form::HandleCommandError = [](const std::exception& e) { win::Application.ShowException(e); };

    // Created in this order; each lives until the end of the run.
    auto form1 = std::make_unique<TForm1>();
    auto fileExistsForm = std::make_unique<TFileExistsForm>();
    auto imageForm = std::make_unique<TImageForm>();
    auto selectForm = std::make_unique<TSelectForm>(AppSettings.CaptureShapeIndex);
    auto imageEdForm = std::make_unique<TImageEdForm>();
    auto previewForm = std::make_unique<TPreviewForm>(form1->ActionList1, form1->Picture,
                                                      static_cast<COLORREF>(AppSettings.BackgroundColor));
    BindCommands(*form1, {*fileExistsForm, *imageForm, *selectForm, *imageEdForm, *previewForm});

    TForm1& main = *form1;
    win::Application.OnHint = [&main] { main.ApplicationEvents1Hint(); };
    try {
        main.Loaded();
    } catch (const std::exception& e) {
        // Without its icon the program could not be reached at all.
        win::Application.ShowException(e);
        return 1;
    }
    const int exitCode = RunMessageLoop();
    win::Application.OnHint = nullptr;
    return exitCode;
}
