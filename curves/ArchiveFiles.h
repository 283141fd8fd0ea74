#pragma once
// Whole archives of curve files: directories walked for the files the
// viewer reads, and lists of file names as find and xargs exchange them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ArchiveFiles {
    std::vector<std::string> files; // in the order to read them
    std::vector<std::string> problems; // "PATH: reason" for what could not be walked
    // "NAME: reached again as OTHER, counted once" for each file left out
    // because it was reached before.
    std::vector<std::string> repeats;
};

// The curve files under a directory, at any depth: every entry other than a
// directory whose extension names a curve kind, letter case ignored (a
// broken link or a FIFO too, so that reading it reports it), sorted by
// their path's bytes so every run sees them in the same order. Links to
// directories are not followed (a link back up would never end). A
// directory that cannot be listed is a problem; the rest is still walked.
// The walk holds no open directory while it descends, so that the depth of
// the tree is not bounded by the number of files a process may open.
ArchiveFiles WalkCurveDirectory(const std::string& directory);

// Each name as given, except that a directory is replaced by the curve
// files under it (WalkCurveDirectory); a file reached again (the same
// device and inode: a name given twice, a directory given twice, a link to a
// file of the archive) is kept once, at its first place, and said so in
// repeats. Names that do not exist are kept for their readers to refuse.
ArchiveFiles ExpandCurveNames(const std::vector<std::string>& names);

// The names of a file list: one per line (lines end in "\n", "\r\n", or "\r"
// alone in a text without "\n"),
// or separated by NUL bytes when nulSeparated (as find -print0 writes).
// Empty names are skipped.
std::vector<std::string> SplitFileList(std::string_view text, bool nulSeparated);

// A file list read: its names, or why it is refused.
struct FileListNames {
    std::vector<std::string> names;
    std::optional<std::string> refusal; // in words; there are no names then
};

// The names of a file list's bytes: a UTF-8 byte order mark at its start is
// dropped; a list that starts with a UTF-16 byte order mark, or holds NUL
// bytes when it is not nulSeparated, is refused; otherwise SplitFileList.
FileListNames ParseFileList(std::string_view bytes, bool nulSeparated);
