// The mail message as Simple MAPI receives it, and the hand-over to the mail
// library, against the recording stand-in of tests/doubles/mapi32.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "output/MapiMail.h"
#include "tests/output/FaultyFileSystem.h"
#include "win/Strings.h"

namespace {

std::string Text(const char* s) { return s ? s : "<null>"; }

// The stand-in's record of each call: key -> value, in call order.
std::vector<std::map<std::string, std::string>> ReadRecord(const std::wstring& path)
{
    std::vector<std::map<std::string, std::string>> calls;
    std::istringstream in(ReadBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        if (key == "call") calls.emplace_back();
        if (!calls.empty()) calls.back()[key] = line.substr(eq + 1);
    }
    return calls;
}

// A build path as a Windows path of the Unix root drive.
std::wstring BuildPath(const char* path) { return L"Z:" + win::Widen(path); }

class MailDouble : public ::testing::Test {
protected:
    MailDouble()
    {
        ::SetEnvironmentVariableW(L"TAVRO_MAPI_RECORD", record.c_str());
        ::SetEnvironmentVariableW(L"TAVRO_MAPI_RESULT", L"3");
        WriteText(attachment, "twelve bytes");
    }
    ~MailDouble() override
    {
        ::SetEnvironmentVariableW(L"TAVRO_MAPI_RECORD", nullptr);
        ::SetEnvironmentVariableW(L"TAVRO_MAPI_RESULT", nullptr);
    }

    TempFolder folder;
    std::wstring record = folder / L"record.txt";
    std::wstring attachment = folder / L"shot(1).jpg";
};

}  // namespace

TEST(MapiMailMessage, CommandMessageHasNoOriginatorNoRecipientAndOneFile)
{
    MapiMailMessage mail({.subject = L"image", .filePath = L"C:\\pics\\shot.jpg", .senderName = L"Ann"});
    const MapiMessage& m = mail.Message();
    EXPECT_EQ(Text(m.lpszSubject), "image");
    EXPECT_EQ(m.lpszNoteText, nullptr);
    EXPECT_EQ(m.lpOriginator, nullptr);  // a name without an address is not a sender
    EXPECT_EQ(m.nRecipCount, 0u);
    EXPECT_EQ(m.lpRecips, nullptr);
    ASSERT_EQ(m.nFileCount, 1u);
    const MapiFileDesc& f = m.lpFiles[0];
    EXPECT_EQ(f.flFlags, 0u);
    EXPECT_EQ(f.nPosition, 0xFFFFFFFFu);
    EXPECT_EQ(Text(f.lpszPathName), "C:\\pics\\shot.jpg");
    EXPECT_EQ(f.lpszFileName, nullptr);
    EXPECT_EQ(f.lpFileType, nullptr);
    EXPECT_EQ(m.lpszMessageType, nullptr);
    EXPECT_EQ(m.flFlags, 0u);

    MapiMailMessage empty({});
    EXPECT_EQ(empty.Message().lpszSubject, nullptr);
    EXPECT_EQ(empty.Message().nFileCount, 0u);
    EXPECT_EQ(empty.Message().lpFiles, nullptr);
}

TEST(MapiMailMessage, AddressesMakeSenderAndRecipientNamedOrAfterTheAddress)
{
    MapiMailMessage named({.body = L"hello",
                           .senderName = L"Ann",
                           .senderAddress = L"ann@example.org",
                           .recipientName = L"Bob",
                           .recipientAddress = L"bob@example.org"});
    const MapiMessage& m = named.Message();
    EXPECT_EQ(Text(m.lpszNoteText), "hello");
    ASSERT_NE(m.lpOriginator, nullptr);
    EXPECT_EQ(m.lpOriginator->ulRecipClass, static_cast<ULONG>(MAPI_ORIG));
    EXPECT_EQ(Text(m.lpOriginator->lpszName), "Ann");
    EXPECT_EQ(Text(m.lpOriginator->lpszAddress), "SMTP:ann@example.org");
    EXPECT_EQ(m.lpOriginator->ulEIDSize, 0u);
    ASSERT_EQ(m.nRecipCount, 1u);
    EXPECT_EQ(m.lpRecips[0].ulRecipClass, static_cast<ULONG>(MAPI_TO));
    EXPECT_EQ(Text(m.lpRecips[0].lpszName), "Bob");
    EXPECT_EQ(Text(m.lpRecips[0].lpszAddress), "SMTP:bob@example.org");
    EXPECT_EQ(m.nFileCount, 0u);

    MapiMailMessage unnamed({.senderAddress = L"ann@example.org", .recipientAddress = L"bob@example.org"});
    EXPECT_EQ(Text(unnamed.Message().lpOriginator->lpszName), "ann@example.org");
    EXPECT_EQ(Text(unnamed.Message().lpRecips[0].lpszName), "bob@example.org");

    // A recipient name alone is no recipient.
    MapiMailMessage nameOnly({.recipientName = L"Bob"});
    EXPECT_EQ(nameOnly.Message().nRecipCount, 0u);
    EXPECT_EQ(nameOnly.Message().lpRecips, nullptr);
}

TEST_F(MailDouble, LibraryBesideTheProgramGetsTheMessageAndIsUnloaded)
{
    ASSERT_EQ(::GetModuleHandleW(L"MAPI32.DLL"), nullptr);
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    const int result = SendMapiMail(L"image", L"", attachment, L"Ann", L"", L"", L"", window);

    EXPECT_EQ(result, 3);  // the provider's own value
    EXPECT_EQ(::GetModuleHandleW(L"MAPI32.DLL"), nullptr);
    const auto calls = ReadRecord(record);
    ASSERT_EQ(calls.size(), 1u);
    const auto& c = calls[0];
    EXPECT_EQ(c.at("session"), "0");
    EXPECT_EQ(c.at("parent"), std::to_string(reinterpret_cast<ULONG_PTR>(window)));
    EXPECT_EQ(c.at("flags"), "9");
    EXPECT_EQ(c.at("reserved"), "0");
    EXPECT_EQ(c.at("subject"), "\"image\"");
    EXPECT_EQ(c.at("note"), "null");
    EXPECT_EQ(c.at("originator"), "null");
    EXPECT_EQ(c.at("recipcount"), "0");
    EXPECT_EQ(c.at("filecount"), "1");
    EXPECT_EQ(c.at("file0.path"), std::string(1, '"').append(win::Narrow(attachment)).append(1, '"'));
    EXPECT_EQ(c.at("file0.name"), "null");
    EXPECT_EQ(c.at("file0.position"), "4294967295");
    EXPECT_EQ(c.at("file0.exists"), "1");
    EXPECT_EQ(c.at("file0.size"), "12");
    EXPECT_EQ(c.count("unloaded"), 1u);  // after the call, by the program
    ::DestroyWindow(window);
}

TEST_F(MailDouble, MissingLibraryOrFunctionGiveTheirResults)
{
    EXPECT_EQ(SendMapiMailThrough(folder / L"MAPI32.DLL", {.subject = L"image"}, nullptr), kMailLibraryMissing);
    EXPECT_EQ(SendMapiMailThrough(BuildPath(TAVRO_MAPI_WITHOUT_SENDMAIL), {.subject = L"image"}, nullptr),
              kMailFunctionMissing);
    EXPECT_EQ(::GetModuleHandleW(L"MAPI32.DLL"), nullptr);
    EXPECT_EQ(ReadBytes(record), "loaded=1\nunloaded=1\n");  // the reduced stand-in, let go again

    // A library that only the current folder holds is not taken.
    ASSERT_TRUE(::CopyFileW(BuildPath(TAVRO_MAPI_WITHOUT_SENDMAIL).c_str(), (folder / L"PLANTED.DLL").c_str(), TRUE));
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    EXPECT_EQ(SendMapiMailThrough(L"PLANTED.DLL", {.subject = L"image"}, nullptr), kMailLibraryMissing);
    ::SetCurrentDirectoryW(previous);
}

TEST_F(MailDouble, PathOutsideTheAnsiCodePageReachesTheMailProgramWhole)
{
    // A folder with no short name: only the Unicode entry point can carry it.
    const std::wstring omega = folder / L"shot \u03A9 \u0416.bmp";
    WriteText(omega, "four");
    const std::string utf8 = '"' + win::Narrow(omega) + '"';

    // The library with both entry points gets the path whole through the W one;
    // one with only the ANSI entry point gets a form it can open.
    for (const std::wstring& library : {std::wstring(L"MAPI32.DLL"), BuildPath(TAVRO_MAPI_ANSI_ONLY)}) {
        ::DeleteFileW(record.c_str());
        SendMapiMailThrough(library, {.subject = L"image", .filePath = omega}, nullptr);
        const auto calls = ReadRecord(record);
        ASSERT_EQ(calls.size(), 1u) << win::Narrow(library);
        const bool wide = library == L"MAPI32.DLL";
        EXPECT_EQ(calls[0].at("entry"), wide ? "\"W\"" : "\"A\"");
        if (wide) {
            EXPECT_EQ(calls[0].at("file0.path"), utf8);
        }
        EXPECT_EQ(calls[0].at("file0.exists"), "1") << calls[0].at("file0.path");
        EXPECT_EQ(calls[0].at("file0.size"), "4");
    }
}
