#pragma once

#include <optional>
#include <set>
#include <string>
#include <windows.h>

// Small file-system helpers for the tests and the test installer, over the ANSI Windows calls the launcher
// itself uses, so that paths behave the same way in the test as in the code under test.

// The folder of the running test program, with its trailing backslash.
std::string TestProgramDir();

bool WriteBytes(const std::string& path, const std::string& bytes);
// The names of the files (not folders) in folder, which ends with a backslash.
std::set<std::string> FileNamesIn(const std::string& folder);
// The path in the ANSI code page, through its short form when the long one cannot be written there
// (a folder named outside the code page); empty when neither form can be.
std::string AnsiOpenablePath(const std::wstring& path);
// An environment variable of this process; empty when it is not set.
std::string EnvironmentVariable(const char* name);
std::optional<std::string> ReadBytes(const std::string& path);
bool Exists(const std::string& path);
bool MakeDirs(const std::string& path);
void RemoveTree(const std::string& path);

// A folder made for one test and removed with everything in it when the test ends.
class TempDir {
  public:
    // name is a part of the folder's name: it may hold blanks or any other character under test.
    explicit TempDir(const std::string& name);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path with its trailing backslash.
    const std::string& Path() const { return path_; }

  private:
    std::string parent_; // made for this folder alone, and removed with it
    std::string path_;
};
