#include "dialogs/DirectoryListing.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

// Lower case, so that punctuation such as '[' and '_' sorts before letters.
char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    const auto folded = [](char x, char y) { return FoldCase(x) < FoldCase(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded))
        return false;
    return a < b;
}

[[noreturn]] void ThrowDirectoryError(
    const char* what, const std::string& directory, const std::error_code& ec)
{
    throw InputOutputError(std::string(what) + " " + directory + ": " + ec.message());
}

// The item text of one directory entry, or nothing when the listing leaves
// it out.
std::optional<std::string> ItemText(
    const fs::directory_entry& entry, std::string_view mask, FileTypes types)
{
    const std::string name = entry.path().filename().string();
    if (name.starts_with('.') || !MatchesMask(name, mask))
        return std::nullopt;
    std::error_code ec;
    if (entry.is_regular_file(ec))
        return name;
    if (types == FileTypes::FilesAndDirectories && entry.is_directory(ec))
        return "[" + name + "]";
    return std::nullopt;
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask)
{
    // Greedy match that backtracks to the last '*' on a mismatch.
    std::size_t n = 0, m = 0;
    std::size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || FoldCase(mask[m]) == FoldCase(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

std::string EnterDirectory(const std::string& directory)
{
    std::error_code ec;
    fs::current_path(directory, ec);
    if (ec)
        ThrowDirectoryError("Cannot enter the directory", directory, ec);
    const fs::path absolute = fs::current_path(ec);
    if (ec)
        ThrowDirectoryError("Cannot read the path of the directory", directory, ec);
    return absolute.string();
}

std::vector<std::string> ListDirectory(
    const std::string& directory, std::string_view mask, FileTypes types)
{
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    std::vector<std::string> items;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (auto text = ItemText(*it, mask, types))
            items.push_back(std::move(*text));
    }
    if (ec)
        ThrowDirectoryError("Cannot list the directory", directory, ec);
    std::sort(items.begin(), items.end(), LessIgnoringCase);
    return items;
}

FileDetails LookUpFile(const std::string& path)
{
    FileDetails details;
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec)
        details.size = size;
    // The file clock holds nanoseconds in 64 bits; a stamp outside its range
    // gives an error here, which leaves the time empty.
    const fs::file_time_type stamp = fs::last_write_time(path, ec);
    if (!ec) {
        const auto system = std::chrono::file_clock::to_sys(stamp);
        details.modifiedSeconds
            = std::chrono::floor<std::chrono::seconds>(system).time_since_epoch().count();
    }
    return details;
}

std::string JoinPath(std::string_view directory, std::string_view name)
{
    if (name.starts_with('/'))
        return std::string(name);
    std::string path(directory);
    if (!path.empty() && !path.ends_with('/'))
        path += '/';
    path += name;
    return path;
}
