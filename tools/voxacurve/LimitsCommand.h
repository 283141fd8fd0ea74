#pragma once
// voxacurve limits: upper and lower limit curves for check, made of the
// statistics CSV of a golden batch.

#include <iosfwd>
#include <string>
#include <vector>

int RunLimits(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
