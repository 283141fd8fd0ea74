#pragma once
// The thumbnail command of voxacurve: a file manager's small square picture
// of a curve file, without a display.

#include <iosfwd>
#include <string>
#include <vector>

// thumbnail FILE OUT.png SIZE
int RunThumbnail(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
