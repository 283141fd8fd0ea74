#include "tools/voxacurve/TextCurves.h"

#include "app/WriteWhole.h"
#include "curves/CurveInfo.h"
#include "curves/KindedText.h"

#include <cstdint>

namespace
{

// "--columns F,M": two 1-based numbers or names of the header row.
ColumnChoice ColumnChoiceOf(const std::string& option)
{
    if (option.empty())
        return {};
    const std::size_t comma = option.find(',');
    const auto valid = [](const std::string& column) {
        return !column.empty() && column != "0" && column.find(',') == std::string::npos;
    };
    if (comma == std::string::npos || !valid(option.substr(0, comma))
        || !valid(option.substr(comma + 1)))
        throw UsageError("--columns must be two columns, 1-based numbers or names of the "
                         "header row, as F,M: not \""
            + option + "\"");
    return {option.substr(0, comma), option.substr(comma + 1)};
}

std::string Located(const TextError& error)
{
    return error.line > 0 ? "line " + std::to_string(error.line) + ": " + error.message
                          : error.message;
}

} // namespace

bool IsCurveTextName(const std::string& name)
{
    const std::string extension = CurveExtension(name);
    return extension == "FRD" || extension == "ZMA" || extension == "CSV" || extension == "TXT";
}

std::vector<KnownOption> WithCurveTextOptions(std::vector<KnownOption> known)
{
    known.push_back({"--rate", true});
    known.push_back({"--length", true});
    known.push_back({"--columns", true});
    return known;
}

CurveTextOptions CurveTextOptionsOf(const ParsedArguments& parsed)
{
    CurveTextOptions options;
    ImportSettings& settings = options.settings;
    settings.sampleRate = static_cast<int32_t>(
        ParseIntegerOption("--rate", parsed.value("--rate", "48000"), 1, INT32_MAX));
    settings.transformLength = static_cast<int32_t>(
        ParseIntegerOption("--length", parsed.value("--length", "65536"), 2, kMaxTransformLength));
    if (settings.transformLength % 2 != 0)
        throw UsageError("--length must be even");
    settings.serialResistor = SerialResistorOf(parsed);
    options.columns = ColumnChoiceOf(parsed.value("--columns", ""));
    return options;
}

TextCurve ReadTextCurve(const std::string& path, const CurveTextOptions& options)
{
    TextCurve curve;
    std::string text;
    if (const auto readError = ReadWholeFile(path, kMaxTextBytes, text)) {
        curve.error = *readError;
        return curve;
    }
    const KindedCurveText read = ParseKindedCurveText(text, CurveExtension(path), options.columns);
    curve.kind = read.kind;
    const ParsedCurveText& parsed = read.parsed;
    if (parsed.error) {
        curve.error = Located(*parsed.error);
        return curve;
    }
    ImportSettings settings = options.settings;
    settings.kind = curve.kind;
    ImportedCurve imported = BuildImportedCurve(parsed.points, settings);
    if (imported.error) {
        curve.error = Located(*imported.error);
        return curve;
    }
    curve.file.status = CurveFileStatus::Ok;
    curve.file.header = imported.header;
    curve.file.values = std::move(imported.values);
    return curve;
}
