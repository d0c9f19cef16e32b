#include <gtest/gtest.h>

#include <windows.h>

#include "app/ActionTable.h"
#include "preview/PreviewWindow.h"
#include "win/ActionList.h"

using win::TAction;
using win::TActionList;

TEST(ActionList, HoldsEveryCommandInOrderWithItsCaptionAndHint)
{
    TActionList list(ActionTableRows());
    const auto& actions = list.Actions();
    ASSERT_EQ(actions.size(), 22u);
    EXPECT_STREQ(actions.front().name, L"MakePowerPointAction");
    EXPECT_STREQ(actions.back().name, L"UnDateStampBMPAction");
    for (size_t i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i].id, kFirstAction + static_cast<int>(i));
        EXPECT_EQ(list.Find(actions[i].id), &actions[i]);
        EXPECT_FALSE(actions[i].caption.empty());
        EXPECT_FALSE(actions[i].hint.empty());
    }
    const TAction* ccw = list.Find(CounterClockwiseAction);
    EXPECT_EQ(ccw->caption, L"Rotate Counterclockwise");
    EXPECT_EQ(ccw->hint, L"Rotate CounterClockwise");
    EXPECT_EQ(list.Find(MakePowerPointAction)->hint, L"Make Powerpoint Slide");
    EXPECT_EQ(list.Find(SetImageEditorAction)->caption, L"Set");
    EXPECT_EQ(list.Find(0), nullptr);
    EXPECT_EQ(list.Find(kLastAction + 1), nullptr);
}

TEST(ActionList, CommandsShowTheirStateOnlyOnceBoundAndRemovingTheStampStartsDisabled)
{
    TActionList list(ActionTableRows());
    for (const TAction& a : list.Actions()) EXPECT_FALSE(a.enabled) << a.name;
    int runs = 0;
    for (const TAction& a : ActionTableRows()) list.Bind(a.id, [&runs] { ++runs; });
    EXPECT_FALSE(list.Enabled(UnDateStampBMPAction));
    EXPECT_TRUE(list.Enabled(ShowHelpAction));
    // Enabled while unbound: it shows once its command arrives.
    TActionList partial(ActionTableRows());
    partial.SetEnabled(UnDateStampBMPAction, true);
    EXPECT_FALSE(partial.Execute(UnDateStampBMPAction));
    partial.Bind(UnDateStampBMPAction, [&runs] { ++runs; });
    EXPECT_TRUE(partial.Execute(UnDateStampBMPAction));
    EXPECT_FALSE(partial.Execute(MirrorAction));
    EXPECT_EQ(runs, 1);
}

TEST(ActionList, EnablingUpdatesEveryBoundMenuItemAndButton)
{
    TActionList list(ActionTableRows());
    list.Bind(ShowHelpAction, [] {});
    list.Bind(ShowAboutAction, [] {});
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, ShowAboutAction, L"About");
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, ShowHelpAction, L"Help");
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"More");
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"Help", WS_CHILD, 0, 0, 10, 10, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(ShowHelpAction)),
                                    nullptr, nullptr);
    list.BindMenu(menu);
    list.BindButton(button);
    EXPECT_TRUE(::IsWindowEnabled(button));

    list.SetEnabled(ShowHelpAction, false);
    EXPECT_TRUE(::GetMenuState(sub, 0, MF_BYPOSITION) & MF_GRAYED);  // found in the submenu
    EXPECT_FALSE(::GetMenuState(menu, ShowAboutAction, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::IsWindowEnabled(button));
    list.SetEnabled(ShowHelpAction, true);
    EXPECT_FALSE(::GetMenuState(sub, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(::IsWindowEnabled(button));

    ::DestroyWindow(parent);
    ::DestroyMenu(menu);
}

TEST(PreviewStatus, SizeTextHasPlainNumbersAndTheFixedTail)
{
    EXPECT_EQ(TPreviewForm::SizeText(640, 480), L" 640 x 480   (width x height in pixels)");
    EXPECT_EQ(TPreviewForm::SizeText(12000, 3), L" 12000 x 3   (width x height in pixels)");
    EXPECT_EQ(TPreviewForm::SizeText(0, 0), L" 0 x 0   (width x height in pixels)");
}
