#include "DllSearch.h"
#include "Handles.h"
#include "ModuleFileName.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string SystemFolder() {
    std::vector<char> buffer(MAX_PATH + 1);
    buffer.resize(GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size())));
    return std::string(buffer.begin(), buffer.end());
}

bool IsInFolder(const AnsiString& path, const std::string& folder) {
    return path.UpperCase().SubString(1, static_cast<int>(folder.size()) + 1) ==
           (AnsiString(folder.c_str()) + "\\").UpperCase();
}

FARPROC FindNothing(const char*) {
    return nullptr;
}

TEST(DllSearchTest, WithoutSetDefaultDllDirectoriesTheOnDemandDllsComeFromSystem32) {
    for (const char* dll : onDemandSystemDlls) {
        ASSERT_EQ(GetModuleHandleA(dll), nullptr)
            << dll << " is loaded already: the preload could not be told";
    }

    EXPECT_EQ(RestrictDllSearchToSystem32(FindNothing), DllSearchHardening::SystemDllsPreloaded);

    for (const char* dll : onDemandSystemDlls) {
        const HMODULE loaded = GetModuleHandleA(dll);
        ASSERT_NE(loaded, nullptr) << dll;
        EXPECT_TRUE(IsInFolder(ModuleFileName(loaded), SystemFolder())) << ModuleFileName(loaded).c_str();
    }
}

TEST(DllSearchTest, WhereTheSystemHasSetDefaultDllDirectoriesNoDllIsFoundBesideTheProgram) {
    const std::string besideTheProgram = TestProgramDir() + "cvlplant.dll";
    ASSERT_TRUE(CopyFileA((TestProgramDir() + "planted.dll").c_str(), besideTheProgram.c_str(), FALSE));
    {
        const UniqueModule before(LoadLibraryA("cvlplant.dll"));
        ASSERT_TRUE(before.valid())
            << "the program's folder is searched by default: the test would show nothing";
    }

    EXPECT_EQ(RestrictDllSearchToSystem32(), DllSearchHardening::RestrictedToSystem32);

    EXPECT_FALSE(UniqueModule(LoadLibraryA("cvlplant.dll")).valid());
    DeleteFileA(besideTheProgram.c_str());
    DeleteFileA((TestProgramDir() + "planted-dll-ran.txt").c_str());
}

} // namespace
