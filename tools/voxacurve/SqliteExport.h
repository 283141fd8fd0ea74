#pragma once
// export --format sqlite: the curves of an archive as one SQLite database
// for data tools, a table of curves and a long table of their points.

#include "tools/voxacurve/Arguments.h"

#include <iosfwd>

// Writes every curve of the command line (files, directories, --files-from)
// into the database -o DB in one transaction: the curves on the grid of
// --ppo N points per octave (48 without it; 0: the curve's own bins),
// smoothed by --smooth. An existing DB is refused unless --append is given.
// Returns the exit code; UsageError for a wrong command line.
int RunSqliteExport(ParsedArguments& parsed, std::ostream& err);
