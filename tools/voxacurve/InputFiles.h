#pragma once
// The curve files a command reads: the names on its command line, the
// curve files under the directories among them, and the names of a file
// list (--files-from FILE, --files-from - for the standard input, -0 for
// NUL-separated names).

#include "tools/voxacurve/Arguments.h"

#include <iosfwd>
#include <vector>

// The known options plus --files-from and -0.
std::vector<KnownOption> WithFileListOptions(std::vector<KnownOption> known);

// Replaces parsed.files by the files to read: the names given, then those of
// --files-from, directories walked, each file once (a file reached again is
// left out and said so on err). The file list is a regular file, a pipe or
// the standard input of at most kMaxTextBytes; a UTF-8 byte order mark at
// its start is dropped. What could not be walked or read (a directory that
// cannot be listed, the file list) is reported to err ("voxacurve: PATH:
// reason"); returns how many such inputs there were, for the commands to
// count among the files refused. UsageError for -0 without --files-from. in
// is the standard input.
int ExpandInputFiles(ParsedArguments& parsed, std::istream& in, std::ostream& err);
