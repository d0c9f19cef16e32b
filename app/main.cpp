// Program entry: create the forms in their order, put the icon in the tray and
// run the message loop. No window is shown at start.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <memory>

#include "app/Application.h"
#include "app/Unit1.h"
#include "capture/ImageUnit.h"
#include "capture/SelectUnit.h"
#include "output/FileExistsUnit.h"
#include "preview/PreviewUnit.h"

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
    win::Form::HandleCommandError = [](const std::exception& e) { Application.ShowException(e); };

    // Created in this order; each lives until the end of the run.
    auto form1 = std::make_unique<TForm1>();
    Form1 = form1.get();
    auto fileExistsForm = std::make_unique<TFileExistsForm>();
    FileExistsForm = fileExistsForm.get();
    auto imageForm = std::make_unique<TImageForm>();
    ImageForm = imageForm.get();
    auto selectForm = std::make_unique<TSelectForm>();
    SelectForm = selectForm.get();
    auto previewForm = std::make_unique<TPreviewForm>();
    PreviewForm = previewForm.get();

    Application.OnHint = [] { Form1->ApplicationEvents1Hint(); };
    try {
        Form1->Loaded();
    } catch (const std::exception& e) {
        // Without its icon the program could not be reached at all.
        Application.ShowException(e);
        return 1;
    }
    const int exitCode = RunMessageLoop();

    PreviewForm = nullptr;
    SelectForm = nullptr;
    ImageForm = nullptr;
    FileExistsForm = nullptr;
    Form1 = nullptr;
    return exitCode;
}
