// The safe replacement of files: each step failing in turn must leave the
// target as it was and no temporary file behind.
#include <gtest/gtest.h>

#include <stdexcept>

#include "output/SafeFileWriter.h"
#include "tests/output/FaultyFileSystem.h"
#include "win/Error.h"

namespace {

const std::string kNew(3'000'000, 'n');  // larger than the sink's buffer

struct Outcome {
    bool threw = false;
    std::wstring message;
};

Outcome Save(FileSystem& fs, const std::wstring& target,
             output::ExistingFile existing = output::ExistingFile::Replace)
{
    Outcome out;
    try {
        output::WriteFileSafely(target, kNew.data(), kNew.size(), existing, fs);
    } catch (const win::Error& e) {
        out.threw = true;
        out.message = e.Message();
    }
    return out;
}

class SafeFileWriter : public ::testing::Test {
protected:
    TempFolder folder;
    FaultyFileSystem fs;
    std::wstring target = folder / L"picture.jpg";
};

}  // namespace

TEST_F(SafeFileWriter, WritesANewFileAndReplacesAnExistingOne)
{
    EXPECT_FALSE(Save(fs, target).threw);
    EXPECT_EQ(ReadBytes(target), kNew);
    EXPECT_EQ(fs.replaces, 0);

    WriteText(target, "old contents, longer or shorter");
    EXPECT_FALSE(Save(fs, target).threw);
    EXPECT_EQ(ReadBytes(target), kNew);
    EXPECT_EQ(fs.replaces, 1);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.jpg"});  // no temporary or backup file left
}

TEST_F(SafeFileWriter, FailuresBeforeTheFileIsCompleteLeaveTheTargetUntouched)
{
    struct Fault {
        const char* name;
        std::function<void(FaultyFileSystem&)> set;
        const wchar_t* reasonWord;
    };
    const Fault faults[] = {
        {"create", [](FaultyFileSystem& f) { f.createError = ERROR_ACCESS_DENIED; }, L"Cannot create file"},
        {"write", [](FaultyFileSystem& f) { f.failWriteAfter = 100000; }, L"Cannot write file"},
        {"short write", [](FaultyFileSystem& f) { f.failWriteAfter = 100000; f.shortWrite = true; }, L"Cannot write file"},
        {"flush", [](FaultyFileSystem& f) { f.flushError = ERROR_DISK_FULL; }, L"Cannot write file"},
        {"close", [](FaultyFileSystem& f) { f.closeError = ERROR_DISK_FULL; }, L"Cannot write file"},
    };
    for (const bool existed : {false, true}) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(fault.name) + (existed ? " over an existing file" : " as a new file"));
            ::DeleteFileW(target.c_str());
            if (existed) WriteText(target, "old");
            FaultyFileSystem faulty;
            fault.set(faulty);
            const Outcome out = Save(faulty, target);
            EXPECT_TRUE(out.threw);
            EXPECT_NE(out.message.find(fault.reasonWord), std::wstring::npos) << out.message;
            EXPECT_NE(out.message.find(target), std::wstring::npos) << out.message;
            if (existed) {
                EXPECT_EQ(ReadBytes(target), "old");
                EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.jpg"});
            } else {
                EXPECT_TRUE(folder.Names().empty());
            }
        }
    }
}

TEST_F(SafeFileWriter, SharingViolationsAreRetriedBriefly)
{
    WriteText(target, "old");
    fs.replaceErrors = {ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED, ERROR_UNABLE_TO_REMOVE_REPLACED};
    EXPECT_FALSE(Save(fs, target).threw);
    EXPECT_EQ(ReadBytes(target), kNew);
    EXPECT_EQ(fs.replaces, 4);
    EXPECT_EQ(fs.pauses, 3);

    ::DeleteFileW(target.c_str());
    fs.moveErrors = {ERROR_SHARING_VIOLATION};
    EXPECT_FALSE(Save(fs, target).threw);
    EXPECT_EQ(ReadBytes(target), kNew);
}

TEST_F(SafeFileWriter, AReplaceThatKeepsFailingGivesUpWithTheTargetUntouched)
{
    WriteText(target, "old");
    fs.replaceErrors.assign(50, ERROR_SHARING_VIOLATION);
    const Outcome out = Save(fs, target);
    EXPECT_TRUE(out.threw);
    EXPECT_LT(fs.replaces, 10);
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.jpg"});
}

TEST_F(SafeFileWriter, ReplacementThatCannotBeMovedKeepsTheOldFile)
{
    // 1176: both files kept their names.
    WriteText(target, "old");
    fs.replaceErrors = {ERROR_UNABLE_TO_MOVE_REPLACEMENT};
    EXPECT_TRUE(Save(fs, target).threw);
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.jpg"});

    // 1177: the old file went to the backup name; it is moved back.
    fs.replaceLosesTarget = true;
    const Outcome out = Save(fs, target);
    EXPECT_TRUE(out.threw);
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.jpg"});
}

TEST_F(SafeFileWriter, AReadOnlyTargetIsRefusedAndKept)
{
    WriteText(target, "old");
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    const Outcome out = Save(fs, target);
    EXPECT_TRUE(out.threw);
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.jpg"});
}

TEST_F(SafeFileWriter, AFileThatAppearsMeanwhileIsKeptWhenReplacingWasNotAgreed)
{
    fs.beforeMove = [&] { WriteText(target, "someone else's"); };
    const Outcome out = Save(fs, target, output::ExistingFile::Keep);
    EXPECT_TRUE(out.threw);
    EXPECT_EQ(ReadBytes(target), "someone else's");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.jpg"});
}

TEST_F(SafeFileWriter, AnEncoderExceptionRemovesTheTemporaryFile)
{
    WriteText(target, "old");
    EXPECT_THROW(output::WriteFileSafely(
                     target,
                     [](output::ByteSink& sink) {
                         sink.Write("partial", 7);
                         throw std::runtime_error("encoder failed");
                     },
                     output::ExistingFile::Replace, fs),
                 std::runtime_error);
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.jpg"});
}

TEST_F(SafeFileWriter, AMissingFolderIsReportedWithTheSystemsReason)
{
    const std::wstring missing = folder / L"no such folder\\picture.jpg";
    const Outcome out = Save(fs, missing);
    EXPECT_TRUE(out.threw);
    EXPECT_EQ(out.message.rfind(L"Cannot create file \"" + missing + L"\". ", 0), 0u) << out.message;
    EXPECT_GT(out.message.size(), missing.size() + 24);
}
