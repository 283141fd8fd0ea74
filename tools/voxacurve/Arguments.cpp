#include "tools/voxacurve/Arguments.h"

#include "app/SettingsRecord.h"
#include "curves/OctaveSmoothing.h"
#include "ui/SerialResistor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

namespace
{

const KnownOption* FindOption(const std::vector<KnownOption>& known, const std::string& name)
{
    const auto found = std::find_if(
        known.begin(), known.end(), [&](const KnownOption& s) { return s.name == name; });
    return found == known.end() ? nullptr : &*found;
}

} // namespace

bool ParsedArguments::has(const std::string& flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::string ParsedArguments::value(const std::string& option, const std::string& fallback) const
{
    const auto found = values.find(option);
    return found == values.end() ? fallback : found->second;
}

ParsedArguments ParseArguments(
    const std::vector<std::string>& args, const std::vector<KnownOption>& known)
{
    ParsedArguments parsed;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg == "-" || !arg.starts_with('-')) {
            parsed.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const KnownOption* option = FindOption(known, name);
        if (!option)
            throw UsageError("unknown option " + name);
        if (!option->takesValue) {
            if (equals != std::string::npos)
                throw UsageError(name + " takes no value");
            parsed.flags.push_back(name);
        } else if (equals != std::string::npos)
            parsed.values[name] = arg.substr(equals + 1);
        else if (i + 1 < args.size())
            parsed.values[name] = args[++i];
        else
            throw UsageError(name + " needs a value");
    }
    return parsed;
}

int64_t ParseIntegerOption(
    const std::string& option, const std::string& text, int64_t min, int64_t max)
{
    int64_t value = 0;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(text.data(), last, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != last || value < min
        || value > max)
        throw UsageError(option + " must be a whole number from " + std::to_string(min) + " to "
            + std::to_string(max) + ", not \"" + text + "\"");
    return value;
}

std::optional<double> ParseNumber(const std::string& text)
{
    double value = 0;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(text.data(), last, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> ParseNumberOption(const std::string& option, const std::string& text)
{
    std::string withPoint = text;
    std::replace(withPoint.begin(), withPoint.end(), ',', '.');
    if (withPoint != text && ParseNumber(withPoint))
        throw UsageError(option + " \"" + text + "\": use a point as the decimal separator");
    return ParseNumber(text);
}

float ParseSerialResistorOption(const std::string& option, const std::string& text)
{
    const std::optional<double> value = ParseNumberOption(option, text);
    if (!value || !IsValidSerialResistor(static_cast<float>(*value)))
        throw UsageError(option
            + " must be 0.1 to 10 Ohm or 100 to 4000 Ohm, as in the viewer, not \"" + text + "\"");
    return static_cast<float>(*value);
}

std::optional<int> SmoothingOf(const ParsedArguments& parsed)
{
    const auto given = parsed.values.find("--smooth");
    if (given == parsed.values.end())
        return std::nullopt;
    const std::optional<int> fraction = ParseSmoothingFraction(given->second);
    if (!fraction)
        throw UsageError("--smooth must be 1/1, 1/2, 1/3, 1/6, 1/12, 1/24 or 1/48 (of an octave), "
                         "not \""
            + given->second + "\"");
    return fraction;
}

float DefaultSerialResistor()
{
    const auto record = std::make_unique<SettingsRecord>();
    WriteFreshSettings(*record);
    return record->SerialResistor;
}

float SerialResistorOf(const ParsedArguments& parsed)
{
    const auto given = parsed.values.find("--serial-resistor");
    return given == parsed.values.end()
        ? DefaultSerialResistor()
        : ParseSerialResistorOption("--serial-resistor", given->second);
}
