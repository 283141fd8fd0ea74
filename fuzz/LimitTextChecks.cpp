#include "fuzz/LimitTextChecks.h"

#include "curves/CheckReport.h"
#include "curves/CurveText.h"
#include "curves/LimitCheck.h"
#include "curves/LimitText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>
#include <vector>

namespace
{

using Problem = std::optional<std::string>;
using Points = std::vector<BandPoint>;

// The magnitude raised by one step: 1 dB, or 10 % of the Ohm.
double Raised(CurveKind kind, double magnitude)
{
    return kind == CurveKind::Response ? magnitude + 1 : magnitude * 1.1;
}

Problem CheckLimitPoints(const LimitText& limit, std::string_view extension)
{
    if (limit.error)
        return limit.error->message.empty() || limit.error->line < 0
            ? Problem("a refusal without words or with a negative line")
            : std::nullopt;
    if ((extension == "frd" && limit.kind != CurveKind::Response)
        || (extension == "zma" && limit.kind != CurveKind::Impedance))
        return "a limit of another kind than its extension gives";
    if (limit.points.size() < 2)
        return "a limit of fewer than two points";
    for (std::size_t i = 0; i < limit.points.size(); ++i) {
        if (UnmeasurablePoint(limit.kind, limit.points[i]))
            return "a limit point no measurement holds accepted";
        if (i > 0 && !(limit.points[i].frequency > limit.points[i - 1].frequency))
            return "limit points whose frequency does not rise";
    }
    return std::nullopt;
}

// Runs rising and apart, each within the curve with its worst point inside.
Problem CheckRuns(const LimitJudgement& judgement, const Points& curve)
{
    double after = -1;
    for (const LimitExcess& run : judgement.excesses) {
        if (!(run.firstFrequency > after && run.firstFrequency <= run.worstFrequency
                && run.worstFrequency <= run.lastFrequency
                && run.lastFrequency <= curve.back().frequency
                && run.firstFrequency >= curve.front().frequency))
            return "runs beyond a limit that overlap, fall or lie outside the curve";
        if (!(run.worst > 0) || !std::isfinite(run.worst))
            return "a run beyond a limit by nothing";
        after = run.lastFrequency;
    }
    if (!judgement.excesses.empty()) {
        double worst = 0;
        for (const LimitExcess& run : judgement.excesses)
            worst = std::max(worst, run.worst);
        if (!judgement.margin || judgement.margin->distance != -worst)
            return "a margin that is not the negated worst excess";
    }
    return std::nullopt;
}

Problem CheckWords(const std::string& text)
{
    std::size_t digits = 0;
    for (const char c : text) {
        digits = std::isdigit(static_cast<unsigned char>(c)) ? digits + 1 : 0;
        if (digits > 12)
            return "a report with a number of more than twelve digits: " + text.substr(0, 300);
    }
    if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos)
        return "a report with a non-finite number: " + text.substr(0, 300);
    return std::nullopt;
}

Problem CheckReports(const LimitResult& result, const Points& curve, CurveKind kind)
{
    for (const auto* judgement : {&result.upper, &result.lower})
        if (*judgement)
            if (const Problem p = CheckRuns(**judgement, curve))
                return p;
    CheckTally tally(kind);
    tally.Add("C", result);
    for (const std::string& text : {FormatCheckLine("C", result, kind),
             FormatCheckJson("C", result, kind), tally.Lines(), tally.JsonMembers()})
        if (const Problem p = CheckWords(text))
            return p;
    return std::nullopt;
}

// The margin of a judgement against one limit, when it is the expected one
// (for the raise, within a millionth of it).
bool MarginIs(const std::optional<LimitJudgement>& judgement, double expected)
{
    return judgement && judgement->margin
        && std::abs(judgement->margin->distance - expected) <= 1e-6 * (1 + std::abs(expected));
}

Problem CheckJudgements(const Points& limit, CurveKind kind)
{
    Points between = limit; // the limit's values between its points too
    for (std::size_t i = 1; i < limit.size(); ++i) {
        const double f = std::sqrt(limit[i - 1].frequency * limit[i].frequency);
        if (f > limit[i - 1].frequency && f < limit[i].frequency)
            between.push_back({f, InterpolateMagnitude(limit, kind, f)});
    }
    std::sort(between.begin(), between.end(),
        [](const BandPoint& a, const BandPoint& b) { return a.frequency < b.frequency; });
    const LimitResult itself = CheckLimits(between, kind, limit, limit);
    if (!itself.passed() || !MarginIs(itself.upper, 0) || !MarginIs(itself.lower, 0))
        return "a limit that is not passed with margins 0 by itself";
    Points raised = limit, alternate = limit;
    for (std::size_t i = 0; i < limit.size(); ++i) {
        raised[i].magnitude = Raised(kind, limit[i].magnitude);
        if (i % 2 == 0)
            alternate[i].magnitude = raised[i].magnitude;
    }
    const LimitResult up = CheckLimits(raised, kind, limit, limit);
    if (!up.upper || up.upper->excesses.size() != 1
        || up.upper->excesses[0].firstFrequency != limit.front().frequency
        || up.upper->excesses[0].lastFrequency != limit.back().frequency
        || !up.lower->excesses.empty())
        return "a raised limit not beyond the upper limit in one run over all its points";
    if (kind == CurveKind::Response && (!MarginIs(up.upper, -1) || !MarginIs(up.lower, 1)))
        return "a curve raised by 1 dB whose margins are not -1 and 1 dB";
    const LimitResult every = CheckLimits(alternate, kind, limit, {});
    if (every.upper->excesses.size() != (limit.size() + 1) / 2)
        return "every other point raised, but not each its own run";
    for (const LimitResult* result : {&itself, &up, &every})
        if (const Problem p = CheckReports(*result, result == &itself ? between : limit, kind))
            return p;
    return std::nullopt;
}

Problem CheckBandOffset(const Points& limit)
{
    const double low = limit.front().frequency > 0 ? limit.front().frequency : limit[1].frequency;
    const double high = limit.back().frequency;
    if (!(low < high))
        return std::nullopt;
    Points raised = limit;
    for (BandPoint& p : raised)
        p.magnitude += 5;
    const auto shifted = OffsetOntoLimitsOver(raised, limit, limit, low, high);
    if (!shifted)
        return "a band of the limit's own points holds none of them";
    const double got = *PowerAverageOver(*shifted, low, high);
    const double want = *PowerAverageOver(limit, low, high);
    if (!(std::abs(got - want) <= 1e-6))
        return "a curve shifted onto the limit over a band without the limit's power average";
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckLimitTextInput(std::span<const unsigned char> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    static const char* const kExtensions[] = {"frd", "zma", "csv", "txt"};
    const std::string_view extension = kExtensions[bytes[0] % std::size(kExtensions)];
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + 1, bytes.size() - 1);
    const LimitText limit = ReadLimitText(text, extension);
    if (const Problem p = CheckLimitPoints(limit, extension))
        return p;
    if (limit.error)
        return std::nullopt;
    if (const Problem p = CheckJudgements(limit.points, limit.kind))
        return p;
    return limit.kind == CurveKind::Response ? CheckBandOffset(limit.points) : std::nullopt;
}
