#include "curves/ArchiveFiles.h"

#include "curves/CurveInfo.h"

#include <algorithm>
#include <filesystem>

namespace
{

namespace fs = std::filesystem;

void WalkInto(const fs::path& directory, ArchiveFiles& found)
{
    std::error_code error;
    fs::directory_iterator entries(directory, error);
    if (error) {
        found.problems.push_back(
            directory.string() + ": cannot read the directory: " + error.message());
        return;
    }
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        std::error_code statusError;
        const bool link = entry.is_symlink(statusError);
        if (!link && entry.is_directory(statusError))
            WalkInto(entry.path(), found);
        else if (CurveKindOfName(entry.path().string()))
            found.files.push_back(entry.path().string());
    }
    if (error)
        found.problems.push_back(
            directory.string() + ": cannot read the directory to its end: " + error.message());
}

} // namespace

ArchiveFiles WalkCurveDirectory(const std::string& directory)
{
    ArchiveFiles found;
    WalkInto(directory, found);
    std::sort(found.files.begin(), found.files.end());
    return found;
}

ArchiveFiles ExpandCurveNames(const std::vector<std::string>& names)
{
    ArchiveFiles expanded;
    for (const std::string& name : names) {
        std::error_code error;
        if (!fs::is_directory(name, error)) {
            expanded.files.push_back(name);
            continue;
        }
        ArchiveFiles walked = WalkCurveDirectory(name);
        expanded.files.insert(expanded.files.end(), std::make_move_iterator(walked.files.begin()),
            std::make_move_iterator(walked.files.end()));
        expanded.problems.insert(
            expanded.problems.end(), walked.problems.begin(), walked.problems.end());
    }
    return expanded;
}

std::vector<std::string> SplitFileList(std::string_view text, bool nulSeparated)
{
    // Names on lines; lines end in LF, CR LF or (old Mac text) CR alone.
    const char separator
        = nulSeparated ? '\0' : (text.find('\n') == std::string_view::npos ? '\r' : '\n');
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(separator), text.size());
        std::string_view name = text.substr(0, end);
        if (!nulSeparated && name.ends_with('\r'))
            name.remove_suffix(1);
        if (!name.empty())
            names.emplace_back(name);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return names;
}
