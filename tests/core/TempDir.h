#pragma once
// A fresh directory under the system's temporary directory, removed with
// everything in it at the end of the scope.

#include <cstdlib>
#include <filesystem>
#include <string>

class TempDir
{
public:
    TempDir()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "voxa-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The directory with its trailing separator.
    std::string dir() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};
