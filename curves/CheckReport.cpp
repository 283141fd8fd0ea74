#include "curves/CheckReport.h"

#include "curves/NameQuoting.h"

#include <cstdio>

namespace
{

// A distance in dB or Ohm with two decimals; one below 0.005 that is not 0
// with two significant digits.
std::string Distance(double value)
{
    if (value != 0 && value > -0.005 && value < 0.005)
        return FormatNumber(value, 2);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string Hz(double frequency)
{
    return FormatNumber(frequency, 6);
}

std::string Unit(CurveKind kind)
{
    return kind == CurveKind::Response ? "dB" : "Ohm";
}

std::string Json(double value)
{
    return FormatNumber(value, 9);
}

std::string RunWords(const LimitExcess& run, CurveKind kind)
{
    const std::string span = run.firstFrequency == run.lastFrequency
        ? "at " + Hz(run.firstFrequency) + " Hz"
        : "from " + Hz(run.firstFrequency) + " to " + Hz(run.lastFrequency) + " Hz";
    return span + " by up to " + Distance(run.worst) + " " + Unit(kind) + " at "
        + Hz(run.worstFrequency) + " Hz";
}

std::string ExcessWords(const LimitJudgement& judgement, const std::string& which, CurveKind kind)
{
    std::string words = which;
    for (std::size_t i = 0; i < judgement.excesses.size(); ++i)
        words += (i == 0 ? " " : ", ") + RunWords(judgement.excesses[i], kind);
    return words;
}

std::string UncoveredWords(
    const LimitResult& result, const LimitJudgement& judgement, const std::string& which)
{
    return "the " + which + " limit (" + Hz(judgement.from) + " to " + Hz(judgement.to)
        + " Hz) covers none of its bins ("
        + (result.curveTo > 0 ? Hz(result.curveFrom) + " to " + Hz(result.curveTo) + " Hz"
                              : "it has no drawable value")
        + ")";
}

// What was not judged, "; "-separated; empty when every limit judged.
std::string NotJudgedWords(const LimitResult& result)
{
    std::string words;
    for (const auto& [judgement, which] :
        {std::pair {&result.upper, "upper"}, std::pair {&result.lower, "lower"}}) {
        if (*judgement && !(*judgement)->covers())
            words += (words.empty() ? "" : "; ") + UncoveredWords(result, **judgement, which);
    }
    return words;
}

std::string MarginWords(const LimitResult& result, CurveKind kind)
{
    std::string words;
    for (const auto& [judgement, which] :
        {std::pair {&result.upper, "upper"}, std::pair {&result.lower, "lower"}}) {
        if (!*judgement || !(*judgement)->margin)
            continue;
        const LimitMargin& margin = *(*judgement)->margin;
        words += (words.empty() ? "; margin: " : ", ") + std::string(which) + " "
            + Distance(margin.distance) + " " + Unit(kind) + " at " + Hz(margin.frequency) + " Hz";
    }
    return words;
}

std::string ExcessJson(const std::optional<LimitJudgement>& judgement)
{
    std::string json = "[";
    if (judgement)
        for (const LimitExcess& run : judgement->excesses)
            json += (json.size() > 1 ? ", " : "") + std::string("{\"from\": ")
                + Json(run.firstFrequency) + ", \"to\": " + Json(run.lastFrequency)
                + ", \"worst\": " + Json(run.worst) + ", \"at\": " + Json(run.worstFrequency) + "}";
    return json + "]";
}

std::string MarginJson(const std::optional<LimitJudgement>& judgement)
{
    if (!judgement || !judgement->margin)
        return "null";
    return "{\"distance\": " + Json(judgement->margin->distance)
        + ", \"at\": " + Json(judgement->margin->frequency) + "}";
}

} // namespace

std::string CheckResultWord(const LimitResult& result)
{
    return result.failed() ? "fail" : result.judged() ? "pass" : "not judged";
}

std::string FormatCheckLine(const std::string& name, const LimitResult& result, CurveKind kind)
{
    std::string line = QuotedName(name) + ": " + CheckResultWord(result);
    std::string what;
    const auto add = [&](const std::string& words) {
        if (!words.empty())
            what += (what.empty() ? ": " : "; ") + words;
    };
    if (result.upper && !result.upper->excesses.empty())
        add(ExcessWords(*result.upper, "above the upper limit", kind));
    if (result.lower && !result.lower->excesses.empty())
        add(ExcessWords(*result.lower, "below the lower limit", kind));
    add(NotJudgedWords(result));
    return line + what + MarginWords(result, kind);
}

std::string FormatCheckJson(const std::string& name, const LimitResult& result, CurveKind kind)
{
    const std::string notJudged = NotJudgedWords(result);
    return "{\"name\": " + JsonName(name) + ", \"result\": \"" + CheckResultWord(result)
        + "\", \"unit\": \"" + Unit(kind) + "\", \"above\": " + ExcessJson(result.upper)
        + ", \"below\": " + ExcessJson(result.lower) + ", \"margin\": {\"upper\": "
        + MarginJson(result.upper) + ", \"lower\": " + MarginJson(result.lower) + "}"
        + (notJudged.empty() ? "" : ", \"reason\": " + JsonString(notJudged)) + "}";
}

void CheckTally::Add(const std::string& name, const LimitResult& result)
{
    ++(result.failed() ? failed_ : result.judged() ? passed_ : notJudged_);
    for (const auto& [judgement, upper] :
        {std::pair {&result.upper, true}, std::pair {&result.lower, false}}) {
        if (!*judgement || !(*judgement)->margin)
            continue;
        const LimitMargin& margin = *(*judgement)->margin;
        if (!closest_ || margin.distance < closest_->margin.distance)
            closest_ = Closest {name, upper, margin};
    }
}

std::string CheckTally::Lines() const
{
    const std::size_t files = checked();
    std::string lines = "checked " + std::to_string(files) + (files == 1 ? " file: " : " files: ")
        + std::to_string(passed_) + " pass, " + std::to_string(failed_) + " fail, "
        + std::to_string(notJudged_) + " not judged, " + std::to_string(refused_)
        + " refused or unreadable\n";
    const std::size_t judged = passed_ + failed_;
    if (judged == 0)
        return lines + "yield: no curve judged\n";
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.1f", 100.0 * passed_ / judged);
    lines += "yield " + std::string(percent) + " % (" + std::to_string(passed_) + " of "
        + std::to_string(judged) + " judged)";
    if (closest_)
        lines += "; closest to the limits at " + Hz(closest_->margin.frequency)
            + " Hz: " + Distance(closest_->margin.distance) + " " + Unit(kind_) + " to the "
            + (closest_->upper ? "upper" : "lower") + " limit";
    return lines + "\n";
}

std::string CheckTally::JsonMembers() const
{
    const std::size_t judged = passed_ + failed_;
    std::string json = "\"checked\": " + std::to_string(checked())
        + ", \"pass\": " + std::to_string(passed_) + ", \"fail\": " + std::to_string(failed_)
        + ", \"notJudged\": " + std::to_string(notJudged_) + ", \"refused\": "
        + std::to_string(refused_) + ", \"judged\": " + std::to_string(judged) + ", \"yield\": "
        + (judged == 0 ? "null" : Json(static_cast<double>(passed_) / judged)) + ", \"closest\": ";
    if (!closest_)
        return json + "null";
    return json + "{\"name\": " + JsonName(closest_->name) + ", \"limit\": \""
        + (closest_->upper ? "upper" : "lower") + "\", \"distance\": "
        + Json(closest_->margin.distance) + ", \"at\": " + Json(closest_->margin.frequency) + "}";
}
