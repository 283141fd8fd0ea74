#pragma once
// voxacurve check: each curve against an upper and a lower limit.

#include <iosfwd>
#include <string>
#include <vector>

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
