#pragma once
// voxacurve stats: count, minimum, maximum, mean and percentiles of many
// curves per frequency; partial results written and merged.

#include <iosfwd>
#include <string>
#include <vector>

int RunStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
