#pragma once
// The commands of voxacurve. Each takes the arguments after its name, writes
// its results to out, its errors and warnings (prefixed "voxacurve: ") to err,
// and returns an exit code of Arguments.h.

#include <iosfwd>
#include <string>
#include <vector>

// info FILE... [--json] [--serial-resistor R]
int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// export FILE... [--format frd|zma|csv] [--ppo N] [-o DIR | -o -] [--serial-resistor R]
int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// import FILE -o OUT.EE|EA|AE|AA|OHM [--rate HZ] [--length N] [--columns F,M]
//        [--serial-resistor R]
int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
