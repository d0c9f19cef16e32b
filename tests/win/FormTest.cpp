// Forms keep the program alive and usable whatever a handler throws: the
// window procedure turns every exception into the error handler's report, and
// a modal showing that fails half-way enables the other windows again.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "win/Error.h"
#include "win/Form.h"

namespace {

std::vector<std::string> reported;

void Record(const std::exception& e) { reported.push_back(e.what()); }

constexpr UINT kThrowStd = WM_APP + 1;
constexpr UINT kThrowOther = WM_APP + 2;

class ThrowingForm : public win::Form {
public:
    ThrowingForm()
    {
        win::RegisterFormClass(L"TavroThrowingForm", WindowProc, nullptr, nullptr);
        CreateFormWindow(L"TavroThrowingForm", L"Throwing", WS_OVERLAPPEDWINDOW, 0, 200, 100);
    }
    bool failShow = false;

protected:
    void FormShow() override
    {
        if (failShow) throw win::Error(L"cannot show");
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kThrowStd) throw std::runtime_error("std");
        if (message == kThrowOther) throw 42;
        return Form::HandleMessage(message, wParam, lParam);
    }
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reported.clear();
        previous_ = win::Form::HandleCommandError;
        win::Form::HandleCommandError = Record;
    }
    void TearDown() override { win::Form::HandleCommandError = previous_; }

    void (*previous_)(const std::exception&) = nullptr;
};

}  // namespace

TEST_F(FormTest, NoExceptionCrossesTheWindowProcedure)
{
    ThrowingForm form;
    if (!form.Hwnd()) GTEST_SKIP() << "no display";
    EXPECT_EQ(::SendMessageW(form.Hwnd(), kThrowStd, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(form.Hwnd(), kThrowOther, 0, 0), 0);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0], "std");
    EXPECT_EQ(reported[1], "unexpected error");
    // A command that throws something else is reported the same way.
    win::RunCommand([] { throw 7; });
    EXPECT_EQ(reported.size(), 3u);
}

TEST_F(FormTest, AModalShowingThatFailsEnablesTheOtherWindowsAgain)
{
    ThrowingForm owner;
    ThrowingForm modal;
    if (!owner.Hwnd()) GTEST_SKIP() << "no display";
    owner.Show();
    modal.failShow = true;
    EXPECT_THROW(modal.ShowModal(), win::Error);
    EXPECT_TRUE(::IsWindowEnabled(owner.Hwnd()));
    EXPECT_FALSE(modal.InModalLoop());
    EXPECT_FALSE(modal.Showing());
    owner.Hide();
}

namespace {

constexpr UINT kRun = WM_APP + 3;

// A form that runs a step from inside its own modal loop.
class ScriptForm : public ThrowingForm {
public:
    std::function<void()> step;
    int shown = 0;
    void PostStep(std::function<void()> s)
    {
        step = std::move(s);
        ::PostMessageW(Hwnd(), kRun, 0, 0);
    }

protected:
    void FormShow() override { ++shown; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kRun) {
            step();
            return 0;
        }
        return ThrowingForm::HandleMessage(message, wParam, lParam);
    }
};

}  // namespace

TEST_F(FormTest, AFormAlreadyShowingModallyComesToTheFrontEnabledAndOneResultEndsOnlyIt)
{
    ScriptForm settings, preview;
    if (!settings.Hwnd()) GTEST_SKIP() << "no display";
    int again = -1, fromPreview = -1, previewResult = -1;
    bool disabledUnderPreview = false, enabledAtFront = false, hiddenAtOnce = false;
    settings.PostStep([&] {
        again = settings.ShowModal();  // as Settings from the tray a second time
        preview.PostStep([&] {
            disabledUnderPreview = !::IsWindowEnabled(settings.Hwnd());
            fromPreview = settings.ShowModal();  // as the preview's Settings
            enabledAtFront = ::IsWindowEnabled(settings.Hwnd()) && settings.Showing();
            settings.SetModalResult(win::mrOk);
            hiddenAtOnce = !settings.Showing();
            preview.SetModalResult(win::mrCancel);
        });
        previewResult = preview.ShowModal();
    });
    EXPECT_EQ(settings.ShowModal(), win::mrOk);
    EXPECT_EQ(again, win::mrNone);
    EXPECT_EQ(fromPreview, win::mrNone);
    EXPECT_EQ(settings.shown, 1);  // the boxes were not loaded again
    EXPECT_TRUE(disabledUnderPreview);
    EXPECT_TRUE(enabledAtFront);
    EXPECT_TRUE(hiddenAtOnce);
    EXPECT_EQ(previewResult, win::mrCancel);  // the settings' OK did not end the preview
    EXPECT_TRUE(::IsWindowEnabled(settings.Hwnd()) && ::IsWindowEnabled(preview.Hwnd()));
}
