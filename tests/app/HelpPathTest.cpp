#include <gtest/gtest.h>

#include <set>

#include "app/HelpPath.h"

namespace {
std::wstring Resolve(std::set<std::wstring> files, const std::wstring& exeFolder = L"C:\\app\\",
                     const std::wstring& current = L"D:\\work")
{
    return ResolveHelpPath(L"tavro.chm", exeFolder, current,
                           [&](const std::wstring& p) { return files.count(p) > 0; });
}
}  // namespace

TEST(HelpPath, LooksBesideTheProgramThenAtTheBareNameThenTheCurrentFolder)
{
    // A file planted in the current folder never wins over the program's own.
    EXPECT_EQ(Resolve({L"tavro.chm", L"C:\\app\\tavro.chm"}), L"C:\\app\\tavro.chm");
    EXPECT_EQ(Resolve({L"tavro.chm", L"D:\\work\\tavro.chm"}), L"tavro.chm");
    EXPECT_EQ(Resolve({L"C:\\app\\tavro.chm", L"D:\\work\\tavro.chm"}), L"C:\\app\\tavro.chm");
    EXPECT_EQ(Resolve({L"D:\\work\\tavro.chm"}), L"D:\\work\\tavro.chm");
    EXPECT_EQ(Resolve({}), L"");
}

TEST(HelpPath, AddsASeparatorOnlyWhereOneIsMissing)
{
    EXPECT_EQ(Resolve({L"C:\\app\\tavro.chm"}, L"C:\\app"), L"C:\\app\\tavro.chm");
    EXPECT_EQ(Resolve({L"D:\\tavro.chm"}, L"C:\\app\\", L"D:\\"), L"D:\\tavro.chm");
}
