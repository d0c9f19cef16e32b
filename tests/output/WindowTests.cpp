// The save dialogs as real windows: the file-exists dialog and the save dialog
// with its preview pane, driven in-process. They need a display, so they run
// on a private X desktop through run_windowed.py, not with the unit tests.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "output/FileExistsDialog.h"
#include "output/SaveFile.h"
#include "output/PictureSaveDialog.h"
#include "output/SaveDialogResource.h"
#include "tests/output/FaultyFileSystem.h"
#include "tests/support/TestPictures.h"
#include "win/Error.h"

TEST(FileExistsForm, PolicyDecidesWhichButtonsAreOffered)
{
    TFileExistsForm form;
    auto offered = [&](int id) {
        return (::GetWindowLongW(::GetDlgItem(form.Hwnd(), id), GWL_STYLE) & WS_VISIBLE) != 0;
    };
    EXPECT_EQ(form.AlwaysGroupIndex(), fepAlwaysAsk);
    EXPECT_TRUE(offered(TFileExistsForm::OverwriteBut));
    EXPECT_TRUE(offered(TFileExistsForm::RenameBut));
    form.SetAlwaysGroupIndex(fepAlwaysRename);
    EXPECT_FALSE(offered(TFileExistsForm::OverwriteBut));
    EXPECT_TRUE(offered(TFileExistsForm::RenameBut));
    form.SetAlwaysGroupIndex(fepAlwaysOverwrite);
    EXPECT_TRUE(offered(TFileExistsForm::OverwriteBut));
    EXPECT_FALSE(offered(TFileExistsForm::RenameBut));
    // A standing policy answers without showing the dialog.
    EXPECT_EQ(FileExistsChoice(form, L"C:\\x\\a.jpg"), win::mrOk);
    form.SetAlwaysGroupIndex(fepAlwaysRename);
    EXPECT_EQ(FileExistsChoice(form, L"C:\\x\\a.jpg"), win::mrNo);
    EXPECT_FALSE(form.Showing());
}

TEST(FileExistsForm, AsksWithTheNameAndReturnsTheButtonsResult)
{
    TFileExistsForm form;
    auto click = [&](int id) {
        ::PostMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(form.Hwnd(), id)));
    };
    click(TFileExistsForm::RenameBut);
    EXPECT_EQ(FileExistsChoice(form, L"C:\\pics\\capture.jpg"), win::mrNo);
    EXPECT_EQ(form.FileNameLab(), L"capture.jpg");
    click(TFileExistsForm::OverwriteBut);
    EXPECT_EQ(FileExistsChoice(form, L"C:\\pics\\capture.jpg"), win::mrOk);

    // Picking "Always Rename" hides Overwrite at once: a click on it does nothing.
    ::PostMessageW(::GetDlgItem(form.Hwnd(), TFileExistsForm::FirstAlwaysRadio + static_cast<int>(fepAlwaysRename)), BM_CLICK, 0, 0);
    click(TFileExistsForm::OverwriteBut);
    click(TFileExistsForm::BitBtn1);
    EXPECT_EQ(FileExistsChoice(form, L"C:\\pics\\capture.jpg"), win::mrCancel);
    EXPECT_EQ(form.AlwaysGroupIndex(), fepAlwaysRename);
    // From now on the policy answers.
    EXPECT_EQ(FileExistsChoice(form, L"C:\\pics\\capture.jpg"), win::mrNo);
}

namespace {

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND FindDescendant(HWND parent, int id)
{
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) WINAPI -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgCtrlID(child) == s->id) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const wchar_t* title)
{
    for (int i = 0; i < 200; ++i) {
        if (HWND w = ::FindWindowW(nullptr, title)) return w;
        ::Sleep(50);
    }
    return nullptr;
}

}  // namespace

TEST(PicDialog, OffersTheFourTypesAndReturnsTheTypedNameWithoutAnOverwritePrompt)
{
    TempFolder folder;
    WriteText(folder / L"exists.bmp", "old");
    win::Bitmap picture;
    testpics::FillPattern(picture, 200, 100, win::PixelFormat::Bits32);
    TPicDialog dialog;
    dialog.Picture = &picture;
    dialog.InitialDir = folder.Path();

    struct Seen {
        std::wstring fileName, paneText;
        std::vector<std::wstring> types;
        int typeIndex = -1;
        bool closed = false;
    } seen;
    std::thread driver([&] {
        HWND dlg = WaitForWindow(L"Save Screen Capture as a File");
        if (!dlg) return;
        ::Sleep(300);  // let the dialog fill its controls
        seen.fileName = TextOf(::GetDlgItem(dlg, 1148));
        HWND types = ::GetDlgItem(dlg, 1136);
        const int count = static_cast<int>(::SendMessageW(types, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t item[128] = {};
            ::SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            seen.types.push_back(item);
        }
        seen.typeIndex = static_cast<int>(::SendMessageW(types, CB_GETCURSEL, 0, 0));
        if (HWND size = FindDescendant(dlg, IDC_PICSIZE)) seen.paneText = TextOf(size);

        ::SendMessageW(types, CB_SETCURSEL, 1, 0);
        // As a user's pick: the list notifies a change, then the end of the selection.
        ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(1136, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
        ::SendMessageW(::GetDlgItem(dlg, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"exists.bmp"));
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
        for (int i = 0; i < 100 && ::IsWindow(dlg); ++i) ::Sleep(50);
        seen.closed = !::IsWindow(dlg);
        // A prompt would keep the dialog open: end it so the test reports instead of hanging.
        while (!seen.closed && ::IsWindow(dlg)) {
            if (HWND popup = ::GetLastActivePopup(dlg); popup && popup != dlg)
                ::PostMessageW(popup, WM_COMMAND, IDCANCEL, 0);
            ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            ::Sleep(200);
        }
    });
    const bool chosen = dialog.Execute(nullptr);
    driver.join();

    EXPECT_EQ(seen.fileName, L"capture.jpg");
    EXPECT_EQ(seen.types, (std::vector<std::wstring>{L"JPG Image File (*.jpg)", L"BMP Image File (*.bmp)",
                                                     L"GIF Image File (*.gif)", L"PNG Image File (*.png)"}));
    EXPECT_EQ(seen.typeIndex, 0);
    EXPECT_EQ(seen.paneText, L"200 x 100");
    EXPECT_TRUE(seen.closed) << "the dialog did not accept an existing name at once";
    EXPECT_TRUE(chosen);
    EXPECT_EQ(::lstrcmpiW(dialog.FileName.c_str(), (folder / L"exists.bmp").c_str()), 0) << dialog.FileName;
    EXPECT_EQ(dialog.FilterIndex, 2);
    EXPECT_EQ(ReadBytes(folder / L"exists.bmp"), "old");
}

TEST(PicDialog, CancelKeepsNameAndType)
{
    TPicDialog dialog;
    dialog.FileName = L"keep.gif";
    dialog.FilterIndex = 3;
    std::thread driver([] {
        if (HWND dlg = WaitForWindow(L"Save Screen Capture as a File")) {
            ::Sleep(200);
            ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
        }
    });
    EXPECT_FALSE(dialog.Execute(nullptr));
    driver.join();
    EXPECT_EQ(dialog.FileName, L"keep.gif");
    EXPECT_EQ(dialog.FilterIndex, 3);
}

namespace {

// Accepts the save dialog, after typing name when one is given.
void AcceptSaveDialog(const wchar_t* name)
{
    HWND dlg = WaitForWindow(L"Save Screen Capture as a File");
    if (!dlg) return;
    ::Sleep(300);
    if (name) ::SendMessageW(::GetDlgItem(dlg, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
}

}  // namespace

TEST(SaveCommand, SavesThroughTheDialogsAndProposesTheNameWritten)
{
    TempFolder folder;
    win::Bitmap picture;
    TFileExistsForm existsForm;
    testpics::FillPattern(picture, 64, 48, win::PixelFormat::Bits32);
    std::wstring saveDir = folder.Path();
    TPicDialog dialog;

    // The JPG type forces its extension onto the typed name.
    std::thread first([] { AcceptSaveDialog(L"shot.png"); });
    const std::optional<std::wstring> written = DoSaveDialog(picture, dialog, saveDir, existsForm);
    first.join();
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"shot.jpg"});
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(::lstrcmpiW(written->c_str(), (folder / L"shot.jpg").c_str()), 0) << *written;
    EXPECT_EQ(dialog.FileName, *written);
    EXPECT_EQ(::lstrcmpiW(saveDir.c_str(), folder.Path().c_str()), 0) << saveDir;

    // The same name again: the file-exists dialog names the file; Rename numbers it.
    std::wstring shownName;
    std::thread second([&] {
        AcceptSaveDialog(nullptr);
        HWND exists = WaitForWindow(L" File Exists");
        if (!exists) return;
        ::Sleep(200);
        shownName = TextOf(::GetDlgItem(exists, TFileExistsForm::FileNameLabel));
        ::PostMessageW(exists, WM_COMMAND, MAKEWPARAM(TFileExistsForm::RenameBut, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(exists, TFileExistsForm::RenameBut)));
    });
    const std::optional<std::wstring> renamed = DoSaveDialog(picture, dialog, saveDir, existsForm);
    second.join();
    EXPECT_EQ(shownName, L"shot.jpg");
    EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"shot(1).jpg", L"shot.jpg"}));
    ASSERT_TRUE(renamed.has_value());
    EXPECT_EQ(::lstrcmpiW(renamed->c_str(), (folder / L"shot(1).jpg").c_str()), 0) << *renamed;
    EXPECT_EQ(dialog.FileName, *renamed);

    // Cancel in the save dialog: nothing is written and nothing changes.
    std::thread third([] {
        if (HWND dlg = WaitForWindow(L"Save Screen Capture as a File")) {
            ::Sleep(200);
            ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
        }
    });
    EXPECT_FALSE(DoSaveDialog(picture, dialog, saveDir, existsForm).has_value());
    third.join();
    EXPECT_EQ(folder.Names().size(), 2u);

    // A save that fails (an empty picture is never written) leaves the folder
    // the dialog opens in next time as it was.
    TempFolder other;
    win::Bitmap empty;
    const std::wstring remembered = saveDir;
    const std::wstring lost = other / L"lost.jpg";
    std::thread fourth([&] { AcceptSaveDialog(lost.c_str()); });
    EXPECT_THROW(DoSaveDialog(empty, dialog, saveDir, existsForm), win::Error);
    fourth.join();
    EXPECT_EQ(saveDir, remembered);

    // The temporary BMP for image programs, at the picture's depth.
    EXPECT_FALSE(SaveBMP(picture).empty());
    testpics::FillPattern(picture, 30, 20, win::PixelFormat::Bits24);
    const std::wstring temp = SaveBMP(picture);
    const std::string bmp = ReadBytes(temp);
    ::DeleteFileW(temp.c_str());
    ASSERT_EQ(bmp.size(), 54u + 92 * 20);
    EXPECT_EQ(bmp[28], 24);
}
