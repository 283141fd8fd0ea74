#pragma once
// The command line of voxacurve: options and file names after the command.

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1; // a file was refused, unreadable or not written
constexpr int kExitUsage = 2; // the command line is wrong

// A wrong command line; the message says what is wrong.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct KnownOption {
    std::string name; // "--json", "-o"
    bool takesValue = false;
};

struct ParsedArguments {
    std::vector<std::string> files; // in the order given
    std::map<std::string, std::string> values; // options with a value, the last one given
    std::vector<std::string> flags; // options without a value that were given

    bool has(const std::string& flag) const;
    // The value of an option, or fallback when it was not given.
    std::string value(const std::string& option, const std::string& fallback) const;
};

// Splits the arguments after the command into options and file names. An
// option takes its value from the next argument or after '=' ("--ppo=6").
// "--" makes every later argument a file name; "-" alone is a file name.
// Throws UsageError for an unknown option or a missing value.
ParsedArguments ParseArguments(
    const std::vector<std::string>& args, const std::vector<KnownOption>& known);

// The whole text as a decimal integer within min ... max; UsageError naming
// the option otherwise.
int64_t ParseIntegerOption(
    const std::string& option, const std::string& text, int64_t min, int64_t max);

// The whole text as a finite decimal number ("150", "0.2", "1e3"); nothing
// for anything else.
std::optional<double> ParseNumber(const std::string& text);

// ParseNumber for the value of an option; a number written with a decimal
// comma ("31,5") is refused in words, not read as something else.
std::optional<double> ParseNumberOption(const std::string& option, const std::string& text);

// The serial resistor of an option's text, in Ohm: a number the viewer
// accepts for its serial resistor (0.1 to 10 Ohm or 100 to 4000 Ohm).
float ParseSerialResistorOption(const std::string& option, const std::string& text);

// The fraction of an octave of --smooth 1/N (N = 1, 2, 3, 6, 12, 24 or 48),
// or nothing without the option; UsageError for any other value.
std::optional<int> SmoothingOf(const ParsedArguments& parsed);

// The serial resistor of a fresh configuration of the viewer, in Ohm.
float DefaultSerialResistor();

// The serial resistor of --serial-resistor (ParseSerialResistorOption), or
// the fresh configuration's without it.
float SerialResistorOf(const ParsedArguments& parsed);
