#pragma once
// What the file list needs of the file system: entering a directory, listing
// the names in it that match a mask, and a file's size and last-write time.
// Names are single-byte texts as the file system gives them.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A directory that cannot be entered or listed; the text names the directory.
class InputOutputError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Which entries a listing holds.
enum class FileTypes {
    OrdinaryFiles, // files (and links to files) only
    FilesAndDirectories, // also subdirectories, written "[name]"
};

// True when name matches mask, where '*' stands for any run of characters
// and '?' for one character. Letters are compared without regard to case
// (ASCII), so "*.EA" matches both "room.ea" and "ROOM.EA", as on the desktop
// the curve files come from.
bool MatchesMask(std::string_view name, std::string_view mask);

// True when a and b are the same text with ASCII letters compared without
// regard to case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Makes directory the process's current directory and returns its absolute
// path. Throws InputOutputError when it cannot be entered.
std::string EnterDirectory(const std::string& directory);

// The entries of directory whose names match mask, sorted by their text
// without regard to case (ties by byte order). Hidden names (a leading '.')
// are left out, and so are "." and "..". Throws InputOutputError when the
// directory cannot be read.
std::vector<std::string> ListDirectory(
    const std::string& directory, std::string_view mask, FileTypes types);

struct FileDetails {
    std::uint64_t size = 0; // bytes
    // Last-write time in whole seconds since 1970-01-01 UTC (rounded down);
    // empty when the time stamp cannot be read or represented.
    std::optional<std::int64_t> modifiedSeconds;
};

// Size and last-write time of the entry at path (links followed); a size of
// 0 and no time when the entry cannot be looked up.
FileDetails LookUpFile(const std::string& path);

// directory + "/" + name, with no second '/' when directory ends with one;
// the bare name (relative to the current directory) when directory is empty;
// a name that begins with '/' is a whole path and stays as it is.
std::string JoinPath(std::string_view directory, std::string_view name);
