#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// config [--json]: the configuration the viewer beside voxacurve would read,
// which file and its fields in words (or as JSON).
// config [--curve-directory DIR] [--bmp-directory DIR]: sets those fields in
// the file the viewer reads and saves, written as the viewer's save writes it.
int RunConfig(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
