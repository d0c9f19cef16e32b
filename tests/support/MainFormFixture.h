// A real main form and overlay for command-level tests. The preview is absent,
// so it is not refreshed. Without a display the forms get no windows; tests
// that need one showing skip themselves then.
#pragma once

#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/Unit1.h"
#include "capture/ImageUnit.h"

class MainFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        form_ = new TForm1;
        Form1 = form_;
        imageForm_ = new TImageForm;
        ImageForm = imageForm_;
    }
    static void TearDownTestSuite()
    {
        ImageForm = nullptr;
        Form1 = nullptr;
        delete imageForm_;
        delete form_;
    }
    void SetUp() override
    {
        AppSettings = TAppSettings{};
        form_->RotationCount = 0;
        form_->MirrorFlag = false;
        form_->DateStampShown = false;
    }

    static TForm1* form_;
    static TImageForm* imageForm_;
};

inline TForm1* MainFormTest::form_ = nullptr;
inline TImageForm* MainFormTest::imageForm_ = nullptr;
