#include <gtest/gtest.h>

#include "win/ErrorBox.h"

TEST(ErrorBoxText, AppendsFullStopOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(win::ErrorBoxText(L"Tray icon error"), L"Tray icon error.");
    EXPECT_EQ(win::ErrorBoxText(L"Done."), L"Done.");
    EXPECT_EQ(win::ErrorBoxText(L"Really!"), L"Really!");  // '!' sorts before '.'
    EXPECT_EQ(win::ErrorBoxText(L"Failed to set data for 'SaveDir'"),
              L"Failed to set data for 'SaveDir'");  // quote sorts before '.'
    EXPECT_EQ(win::ErrorBoxText(L"value 5"), L"value 5.");
    EXPECT_EQ(win::ErrorBoxText(L"C:/"), L"C:/.");
    EXPECT_EQ(win::ErrorBoxText(L""), L"");
}
