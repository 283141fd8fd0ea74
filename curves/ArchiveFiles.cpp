#include "curves/ArchiveFiles.h"

#include "curves/CurveInfo.h"
#include "curves/NameQuoting.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <map>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace
{

std::string joined(const std::string& directory, const char* name)
{
    return directory.ends_with('/') ? directory + name : directory + "/" + name;
}

// The entries of a directory other than "." and "..", with whether each is a
// directory (a link to one is not); the directory is closed before this
// returns, so that a walk holds no descriptor per level. The errno value of
// a failure, 0 when the whole directory was read.
int ListDirectory(const std::string& directory, std::vector<std::pair<std::string, bool>>& entries)
{
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr)
        return errno;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st {
            };
            isDirectory = ::lstat(joined(directory, entry->d_name).c_str(), &st) == 0
                && S_ISDIR(st.st_mode);
        }
        entries.emplace_back(entry->d_name, isDirectory);
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    return error;
}

} // namespace

ArchiveFiles WalkCurveDirectory(const std::string& directory)
{
    ArchiveFiles found;
    // Directories still to list: a path each, no open descriptor.
    std::vector<std::string> pending {directory};
    while (!pending.empty()) {
        const std::string current = std::move(pending.back());
        pending.pop_back();
        std::vector<std::pair<std::string, bool>> entries;
        const int error = ListDirectory(current, entries);
        if (error != 0) {
            found.problems.push_back(QuotedName(current)
                + (entries.empty() ? ": cannot read the directory: "
                                   : ": cannot read the directory to its end: ")
                + std::strerror(error));
        }
        for (const auto& [name, isDirectory] : entries) {
            std::string path = joined(current, name.c_str());
            if (isDirectory)
                pending.push_back(std::move(path));
            else if (CurveKindOfName(name))
                found.files.push_back(std::move(path));
        }
    }
    std::sort(found.files.begin(), found.files.end());
    return found;
}

ArchiveFiles ExpandCurveNames(const std::vector<std::string>& names)
{
    ArchiveFiles expanded;
    // The files already taken, by device and inode, with the name each was
    // first reached by.
    std::map<std::pair<dev_t, ino_t>, std::string> taken;
    const auto take = [&](std::string name) {
        struct stat st {
        };
        if (::stat(name.c_str(), &st) == 0) {
            const auto [first, added] = taken.try_emplace({st.st_dev, st.st_ino}, name);
            if (!added) {
                expanded.repeats.push_back(QuotedName(first->second) + ": reached again as "
                    + QuotedName(name) + ", counted once");
                return;
            }
        }
        expanded.files.push_back(std::move(name));
    };
    for (const std::string& name : names) {
        struct stat st {
        };
        if (::stat(name.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            take(name);
            continue;
        }
        ArchiveFiles walked = WalkCurveDirectory(name);
        for (std::string& file : walked.files)
            take(std::move(file));
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

FileListNames ParseFileList(std::string_view bytes, bool nulSeparated)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")
        || (!nulSeparated && bytes.find('\0') != std::string_view::npos))
        return {{},
            "the file list is UTF-16 text (or holds NUL bytes without -0); write it as UTF-8, "
            "one name a line"};
    return {SplitFileList(bytes, nulSeparated), std::nullopt};
}
