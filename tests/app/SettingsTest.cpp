// The settings store against the real registry, under a throwaway key.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/SettingsRegistry.h"
#include "app/SettingsEncoding.h"
#include "app/SettingsStore.h"
#include "win/Error.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        keyPath_ = L"Software\\TavroTest\\Run" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                   std::to_wstring(++counter_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, keyPath_.c_str());
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, keyPath_.c_str()); }

    std::wstring SectionPath() const { return keyPath_ + L"\\SETTINGS"; }

    void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath().c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    }
    void PutString(const wchar_t* name, const std::wstring& text)
    {
        PutRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void PutDword(const wchar_t* name, DWORD value) { PutRaw(name, REG_DWORD, &value, sizeof value); }

    // The stored type and data of one value; type REG_NONE when missing.
    DWORD TypeOf(const wchar_t* name, std::wstring* text = nullptr, DWORD* number = nullptr) const
    {
        HKEY key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return REG_NONE;
        BYTE data[512] = {};
        DWORD type = REG_NONE, size = sizeof data - 2;
        if (::RegQueryValueExW(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) type = REG_NONE;
        ::RegCloseKey(key);
        if (text && (type == REG_SZ)) *text = reinterpret_cast<const wchar_t*>(data);
        if (number && type == REG_DWORD) *number = *reinterpret_cast<const DWORD*>(data);
        return type;
    }

    bool KeyExists(const std::wstring& path) const
    {
        HKEY key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        ::RegCloseKey(key);
        return true;
    }

    std::wstring keyPath_;
    static inline int counter_ = 0;
};

}  // namespace

TEST(SettingsEncoding, DecimalTextsParseStrictlyWithin32Bits)
{
    EXPECT_EQ(settings::ParseDecimal(L"5"), 5);
    EXPECT_EQ(settings::ParseDecimal(L"-12"), -12);
    EXPECT_EQ(settings::ParseDecimal(L"+7"), 7);
    EXPECT_EQ(settings::ParseDecimal(L"2147483647"), 2147483647);
    EXPECT_EQ(settings::ParseDecimal(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(settings::ParseDecimal(L"2147483648"), std::nullopt);
    EXPECT_EQ(settings::ParseDecimal(L"99999999999999999999"), std::nullopt);
    for (const wchar_t* bad : {L"", L"-", L"12a", L" 5", L"0x10", L"1.5"})
        EXPECT_EQ(settings::ParseDecimal(bad), std::nullopt) << bad;
}

TEST_F(SettingsStoreTest, FirstStartKeepsInitialValuesAndCreatesOnlyTheStoreKey)
{
    TAppSettings s;
    ReadSettings(s, HKEY_CURRENT_USER, keyPath_);
    const TAppSettings initial;
    EXPECT_EQ(s.SaveOnExit, true);
    EXPECT_EQ(s.SaveDir, L"");
    EXPECT_EQ(s.ImageProgIndex, 0);
    EXPECT_EQ(s.CaptureShapeIndex, 0);
    EXPECT_EQ(s.BackgroundColor, 16777215);
    EXPECT_EQ(s.DateStampImage, initial.DateStampImage);
    EXPECT_TRUE(KeyExists(keyPath_));
    EXPECT_FALSE(KeyExists(SectionPath()));
}

TEST_F(SettingsStoreTest, SaveWritesFlagsAsStringsIntegersAsDwordsAndReadsThemBack)
{
    TAppSettings s;
    s.SaveDir = L"C:\\pictures\\";
    s.ImageProgram = L"C:\\tools\\paint.exe";
    s.ImageProgIndex = 2;
    s.UserName = L"Ana Lopes";
    s.NameOnSlides = false;
    s.CaptureShapeIndex = 5;
    s.ShowHints = false;
    s.BackgroundColor = 0x123456;
    s.DateStampImage = false;
    s.CaptureHotKey = 0x278;
    s.RecordHotKey = 0x377;
    s.RecordFramesPerSecond = 30;
    s.RecordLongestSeconds = 120;
    s.RecordShowPointer = false;
    SaveSettings(s, HKEY_CURRENT_USER, keyPath_);

    std::wstring text;
    DWORD number = 0;
    EXPECT_EQ(TypeOf(L"SaveOnExit", &text), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text, L"1");
    EXPECT_EQ(TypeOf(L"NameOnSlides", &text), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text, L"0");
    EXPECT_EQ(TypeOf(L"BackgroundColor", nullptr, &number), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(number, 0x123456u);
    EXPECT_EQ(TypeOf(L"ImageProgIndex", nullptr, &number), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(TypeOf(L"UserName", &text), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text, L"Ana Lopes");

    TAppSettings back;
    ReadSettings(back, HKEY_CURRENT_USER, keyPath_);
    EXPECT_EQ(back.SaveDir, s.SaveDir);
    EXPECT_EQ(back.ImageProgram, s.ImageProgram);
    EXPECT_EQ(back.ImageProgIndex, 2);
    EXPECT_EQ(back.UserName, s.UserName);
    EXPECT_FALSE(back.NameOnSlides);
    EXPECT_TRUE(back.DateOnSlides);
    EXPECT_EQ(back.CaptureShapeIndex, 5);
    EXPECT_FALSE(back.ShowHints);
    EXPECT_EQ(back.BackgroundColor, 0x123456);
    EXPECT_FALSE(back.DateStampImage);
    EXPECT_EQ(back.CaptureHotKey, 0x278);
    EXPECT_EQ(back.RecordHotKey, 0x377);
    EXPECT_EQ(back.RecordFramesPerSecond, 30);
    EXPECT_EQ(back.RecordLongestSeconds, 120);
    EXPECT_FALSE(back.RecordShowPointer);
    // A rate or length the dialog does not offer reads as the default.
    s.RecordFramesPerSecond = 7;
    s.RecordLongestSeconds = -5;
    SaveSettings(s, HKEY_CURRENT_USER, keyPath_);
    ReadSettings(back, HKEY_CURRENT_USER, keyPath_);
    EXPECT_EQ(back.RecordFramesPerSecond, 15);
    EXPECT_EQ(back.RecordLongestSeconds, 60);
}

TEST_F(SettingsStoreTest, SaveOnExitOffWritesOnlyItself)
{
    TAppSettings s;
    s.UserName = L"first";
    SaveSettings(s, HKEY_CURRENT_USER, keyPath_);
    s.UserName = L"second";
    s.SaveOnExit = false;
    SaveSettings(s, HKEY_CURRENT_USER, keyPath_);

    TAppSettings back;
    ReadSettings(back, HKEY_CURRENT_USER, keyPath_);
    EXPECT_FALSE(back.SaveOnExit);
    EXPECT_EQ(back.UserName, L"first");
}

TEST_F(SettingsStoreTest, IntegerStoredAsStringIsReadAndWrittenBackAsString)
{
    PutString(L"ImageProgIndex", L"5");
    PutString(L"CaptureShapeIndex", L"9");
    TAppSettings s;
    ReadSettings(s, HKEY_CURRENT_USER, keyPath_);
    EXPECT_EQ(s.ImageProgIndex, 5);
    EXPECT_EQ(s.CaptureShapeIndex, 9);  // loaded unchecked
    s.ImageProgIndex = 1;
    SaveSettings(s, HKEY_CURRENT_USER, keyPath_);
    std::wstring text;
    EXPECT_EQ(TypeOf(L"ImageProgIndex", &text), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text, L"1");
    EXPECT_EQ(TypeOf(L"BackgroundColor"), static_cast<DWORD>(REG_DWORD));
}

TEST_F(SettingsStoreTest, ExpandableTextsComeExpanded)
{
    ::SetEnvironmentVariableW(L"TAVRO_TEST_FOLDER", L"C:\\Shots");
    const std::wstring saveDir = L"%TAVRO_TEST_FOLDER%\\Today";
    PutRaw(L"SaveDir", REG_EXPAND_SZ, saveDir.c_str(), static_cast<DWORD>((saveDir.size() + 1) * sizeof(wchar_t)));
    const std::wstring unknown = L"%TAVRO_NO_SUCH_VARIABLE%\\x";
    PutRaw(L"ImageProgram", REG_EXPAND_SZ, unknown.c_str(),
           static_cast<DWORD>((unknown.size() + 1) * sizeof(wchar_t)));
    TAppSettings s;
    ReadSettings(s, HKEY_CURRENT_USER, keyPath_);
    EXPECT_EQ(s.SaveDir, L"C:\\Shots\\Today");
    EXPECT_EQ(s.ImageProgram, unknown);  // left as written: no such folder
}

TEST_F(SettingsStoreTest, UnusableValuesGiveDefaultsAndTheRestStillLoads)
{
    const BYTE binary[] = {1, 2, 3, 4};
    const ULONGLONG qword = 7;
    const wchar_t multi[] = L"1\0" L"2\0";
    PutRaw(L"SaveOnExit", REG_BINARY, binary, sizeof binary);
    PutRaw(L"ImageProgIndex", REG_QWORD, &qword, sizeof qword);
    PutRaw(L"UserName", REG_MULTI_SZ, multi, sizeof multi);
    PutString(L"CaptureShapeIndex", L"three");
    const WORD shortValue = 3;
    PutRaw(L"BackgroundColor", REG_DWORD, &shortValue, sizeof shortValue);
    // A string without its terminating NUL must still read as itself.
    PutRaw(L"SaveDir", REG_SZ, L"D:\\x", 4 * sizeof(wchar_t));
    PutString(L"ShowHints", L"0");

    TAppSettings s;
    s.UserName = L"kept";
    ReadSettings(s, HKEY_CURRENT_USER, keyPath_);
    EXPECT_TRUE(s.SaveOnExit);
    EXPECT_EQ(s.ImageProgIndex, 0);
    EXPECT_EQ(s.UserName, L"kept");
    EXPECT_EQ(s.CaptureShapeIndex, 0);
    EXPECT_EQ(s.BackgroundColor, 16777215);
    EXPECT_EQ(s.SaveDir, L"D:\\x");
    EXPECT_FALSE(s.ShowHints);
}

TEST_F(SettingsStoreTest, NonZeroFlagTextIsTrueAndDwordFlagsCount)
{
    PutString(L"NameOnSlides", L"7");
    PutDword(L"DateOnSlides", 0);
    PutDword(L"DateStampImage", 2);
    TAppSettings s;
    s.DateStampImage = false;
    ReadSettings(s, HKEY_CURRENT_USER, keyPath_);
    EXPECT_TRUE(s.NameOnSlides);
    EXPECT_FALSE(s.DateOnSlides);
    EXPECT_TRUE(s.DateStampImage);
}

TEST_F(SettingsStoreTest, WriteFailuresCarryTheRegistryMessages)
{
    // A store below a value-only path cannot be opened: reads fall back,
    // writes report the key that could not be made.
    TAppSettings s;
    s.UserName = L"default";
    ReadSettings(s, HKEY_CURRENT_USER, std::wstring(300, L'x'));
    EXPECT_EQ(s.UserName, L"default");
    try {
        SaveSettings(s, HKEY_CURRENT_USER, std::wstring(300, L'x'));
        FAIL() << "no error";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Message().rfind(L"Failed to create key ", 0), 0u);
    }

    TSettingsStore store(HKEY_CURRENT_USER, keyPath_, TSettingsStore::Access::Write);
    try {
        store.WriteString(std::wstring(300, L's'), L"UserName", L"x");
        FAIL() << "no error";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Message(), L"Failed to create key " + std::wstring(300, L's'));
    }
}
