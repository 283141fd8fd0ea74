#include "tools/voxacurve/CheckCommand.h"

#include "app/WriteWhole.h"
#include "curves/CurveText.h"
#include "curves/LimitCheck.h"
#include "curves/NameQuoting.h"
#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/InputFiles.h"
#include "tools/voxacurve/Limits.h"

#include <iostream>
#include <map>
#include <optional>
#include <variant>

namespace
{

struct Tally {
    std::size_t passed = 0, failed = 0, refused = 0;
};

} // namespace

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ParsedArguments parsed = ParseArguments(args,
        WithFileListOptions({{"--upper", true}, {"--lower", true}, {"--offset-to", true},
            {"--json", false}, {"--serial-resistor", true}}));
    if (parsed.files.empty() && !parsed.values.contains("--files-from"))
        throw UsageError("check needs at least one FILE");
    if (!parsed.values.contains("--upper") && !parsed.values.contains("--lower"))
        throw UsageError("check needs --upper U, --lower L or both");
    std::optional<double> offsetTo;
    if (parsed.values.contains("--offset-to")) {
        offsetTo = ParseNumberOption("--offset-to", parsed.values.at("--offset-to"));
        if (!offsetTo || *offsetTo <= 0)
            throw UsageError("--offset-to must be a frequency in Hz above 0");
    }
    const float resistor = parsed.values.contains("--serial-resistor")
        ? ParseSerialResistorOption("--serial-resistor", parsed.values.at("--serial-resistor"))
        : DefaultSerialResistor();
    std::optional<Limit> upper, lower;
    if (parsed.values.contains("--upper"))
        upper.emplace(parsed.values.at("--upper"), resistor);
    if (parsed.values.contains("--lower"))
        lower.emplace(parsed.values.at("--lower"), resistor);
    const bool json = parsed.has("--json");
    const int problems = ExpandInputFiles(parsed, std::cin, err);

    Tally tally;
    tally.refused += static_cast<std::size_t>(problems); // directories that cannot be walked
    // One line per file, or one element of the JSON array.
    bool first = true;
    const auto report = [&](const std::string& line) {
        if (json)
            out << (first ? "{\"files\": [\n  " : ",\n  ");
        out << line;
        if (!json)
            out << '\n';
        first = false;
    };
    const auto refuse = [&](const std::string& name, const std::string& why) {
        ++tally.refused;
        report(json ? "{\"name\": " + JsonName(name)
                    + ", \"result\": \"refused\", \"reason\": " + JsonString(why) + "}"
                    : QuotedName(name) + ": refused: " + why);
    };
    for (const std::string& name : parsed.files) {
        const std::optional<CurveKind> kind = CurveKindOfName(name);
        if (!kind) {
            refuse(name, "not a curve file name (EE, EA, AE, AA or OHM)");
            continue;
        }
        const CurveFile file = ReadCurveFile(name);
        if (const auto refusal = CurveRefusal(file, *kind)) {
            refuse(name, *refusal);
            continue;
        }
        std::vector<BandPoint> points = ReadBandValues(file, *kind, resistor).points;
        if (offsetTo) {
            auto shifted
                = *kind == CurveKind::Response ? OffsetToZeroAt(points, *offsetTo) : std::nullopt;
            if (!shifted) {
                refuse(name,
                    *kind == CurveKind::Response
                        ? "--offset-to " + FormatNumber(*offsetTo, 9) + " Hz lies outside its band"
                        : "--offset-to shifts the levels of responses only");
                continue;
            }
            points = std::move(*shifted);
        }
        std::vector<BandPoint> limits[2];
        std::optional<std::string> limitError;
        for (int i = 0; i < 2; ++i) {
            std::optional<Limit>& limit = i == 0 ? upper : lower;
            if (!limit)
                continue;
            auto got = limit->PointsFor(*kind);
            if (auto* why = std::get_if<std::string>(&got))
                limitError = *why;
            else
                limits[i] = std::move(std::get<std::vector<BandPoint>>(got));
        }
        if (limitError) {
            refuse(name, "no limit for it: " + *limitError);
            continue;
        }
        const LimitResult result = CheckLimits(points, *kind, limits[0], limits[1]);
        ++(result.passed() ? tally.passed : tally.failed);
        report(json ? FormatCheckJson(name, result, *kind) : FormatCheckLine(name, result, *kind));
    }
    const std::size_t checked = tally.passed + tally.failed + tally.refused;
    if (json)
        out << (checked == 0 ? "{\"files\": [" : "\n") << "], \"checked\": " << checked
            << ", \"pass\": " << tally.passed << ", \"fail\": " << tally.failed
            << ", \"refused\": " << tally.refused << "}\n";
    else
        out << "checked " << checked << " files: " << tally.passed << " pass, " << tally.failed
            << " fail, " << tally.refused << " refused or unreadable\n";
    return tally.failed + tally.refused > 0 || problems > 0 ? kExitFailed : kExitOk;
}
