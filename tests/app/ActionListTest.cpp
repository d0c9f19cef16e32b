#include <gtest/gtest.h>

#include <windows.h>

#include "app/ActionTable.h"
#include "preview/PreviewWindow.h"
#include "win/ActionList.h"
#include "win/Strings.h"

using win::TAction;
using win::TActionList;

TEST(ActionList, HoldsEveryCommandInOrderWithItsCaptionAndHint)
{
    TActionList list(ActionTableRows());
    const auto& actions = list.Actions();
    ASSERT_EQ(actions.size(), 26u);
    EXPECT_STREQ(actions.front().name, L"MakePowerPointAction");
    EXPECT_STREQ(actions.back().name, L"PinToScreenAction");
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

// The preview's toolbar and menus are built from the rows' places: every row
// shows where it says, and together they give the preview's layout.
TEST(ActionList, PreviewToolbarAndMenusHoldEveryRowInItsPlace)
{
    TActionList list(ActionTableRows());
    Document document;
    TPreviewForm preview(list, PreviewCommands(), document, RGB(255, 255, 255));
    if (!preview.Hwnd()) GTEST_SKIP() << "no display";
    HMENU bar = preview.MainMenu();
    auto menuText = [](HMENU menu, int position) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
        return std::wstring(text);
    };
    for (const PreviewCommand& c : PreviewCommands()) {
        if (c.place.button >= 0) {
            RECT r;
            ::GetWindowRect(preview.Control(c.id), &r);
            ::MapWindowPoints(nullptr, preview.Control(TPreviewForm::ToolPanel), reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, 5 + 65 * c.place.button) << c.caption;
        }
        if (c.place.menu != PreviewMenu::None) {
            HMENU menu = ::GetSubMenu(bar, static_cast<int>(c.place.menu));
            EXPECT_EQ(static_cast<int>(::GetMenuItemID(menu, c.place.item)), c.id) << c.caption;
        }
    }
    // What the user sees: the buttons in tab order with their x, each menu's items.
    std::vector<std::wstring> tabOrder;
    HWND panel = preview.Control(TPreviewForm::ToolPanel);
    for (HWND b = ::GetWindow(panel, GW_CHILD); b; b = ::GetWindow(b, GW_HWNDNEXT)) {
        RECT r;
        ::GetWindowRect(b, &r);
        ::MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&r), 2);
        tabOrder.push_back(win::WindowText(b) + L"@" + std::to_wstring(r.left));
    }
    EXPECT_EQ(tabOrder, (std::vector<std::wstring>{L"Retry@5", L"Copy@135", L"Save@70", L"PowerPoint@265",
                                                   L"Word@330", L"Excel@395", L"Program@460", L"Rotate@200",
                                                   L"Mail@525", L"Print@590"}));
    const std::vector<std::vector<std::wstring>> menus = {
        {L"File", L"Save as File", L"Print Image", L"Mail as Attachment", L"Close Previewer"},
        {L"Edit", L"Undo", L"Redo", L"", L"Retry Image Selection", L"", L"Copy to Clipboard", L"",
         L"Rotate Clockwise", L"Rotate CounterClockwise", L"Mirror Image", L"Crop", L"", L"Date Stamp Image",
         L"Remove Date Stamp", L"", L"Pin to Screen\tF3"},
        {L"Programs", L"PowerPoint", L"Word", L"Excel", L"User Program", L"Default Program", L"Microsoft Paint"},
        {L"Set", L"Settings", L"Background Color", L"Pick Color on Screen"},
        {L"Help", L"Help", L"About Tavro Screen Capture"}};
    // The Markup menu (third) lists the preview's own tools, not rows.
    ASSERT_EQ(::GetMenuItemCount(bar), 6);
    EXPECT_EQ(menuText(bar, 2), L"Markup");
    for (int m = 0; m < 5; ++m) {
        const int position = m < 2 ? m : m + 1;
        HMENU menu = ::GetSubMenu(bar, position);
        std::vector<std::wstring> shown{menuText(bar, position)};
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) shown.push_back(menuText(menu, i));
        EXPECT_EQ(shown, menus[m]);
    }
    // A caption that names the edit reaches the item inside its menu.
    list.SetCaption(UndoAction, L"Undo Rotate Clockwise");
    EXPECT_EQ(menuText(::GetSubMenu(bar, 1), 0), L"Undo Rotate Clockwise");
}
