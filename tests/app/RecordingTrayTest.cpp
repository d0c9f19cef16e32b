// The tray while a recording runs: the program's icon with a red dot at the
// notification area's small size, back to the program's when it ends; a
// press on the icon and the record key stop it.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "app/MainForm.h"
#include "win/Dpi.h"

TEST(TrayIcon, ARecordingShowsItsIconUntilItEndsAndThePressOrTheKeyStopsIt)
{
    std::vector<HICON> shown;  // the icon of every add and change, in order
    auto form = std::make_unique<TForm1>();
    if (!form->Hwnd()) GTEST_SKIP() << "no display";
    form->Tray1.ShellNotify = [&shown](DWORD message, NOTIFYICONDATAW* data) -> BOOL {
        if (message != NIM_DELETE && (data->uFlags & NIF_ICON)) shown.push_back(data->hIcon);
        return TRUE;
    };
    ASSERT_TRUE(form->Tray1.Activate());
    int stops = 0;
    form->RecordingChanged([&stops] { ++stops; });
    ::SendMessageW(form->Tray1.Hwnd(), TStTrayIcon::kCallbackMessage, TStTrayIcon::kIconId, WM_LBUTTONDOWN);
    ::SendMessageW(form->Hwnd(), WM_HOTKEY, TCaptureHotKey::kRecordId, 0);
    EXPECT_EQ(stops, 2);
    form->RecordingChanged(nullptr);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[1], shown[0]);
    EXPECT_EQ(shown[2], shown[0]);
    ICONINFO info{};  // the recording icon at the small size
    ASSERT_TRUE(::GetIconInfo(shown[1], &info));
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, win::IconSize(16, win::SystemDpi()));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
}
