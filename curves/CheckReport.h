#pragma once
// What check says of its curves: a line of text or a JSON object per curve,
// and the batch's tally with its yield and the closest approach to the
// limits. Levels and Ohm with two decimals in text (a distance below 0.005
// that is not 0 with two significant digits, so that nothing fails "by
// 0.00"), frequencies with up to six digits; JSON numbers with nine.

#include "curves/LimitCheck.h"

#include <cstddef>
#include <optional>
#include <string>

// "pass", "fail" (beyond a limit) or "not judged" (a limit given covers
// none of its points, and it is beyond none).
std::string CheckResultWord(const LimitResult& result);

// "NAME: pass; margin: upper 2.31 dB at 1000 Hz, lower 4.00 dB at 250 Hz", or
// "NAME: fail: above the upper limit from 1200 to 3400 Hz by up to 2.31 dB
// at 2500 Hz, at 5000 Hz by up to 0.50 dB at 5000 Hz; below the lower limit
// ...; margin: upper -2.31 dB at 2500 Hz, lower ...", or "NAME: not judged:
// the lower limit (20 to 50 Hz) covers none of its bins (100 to 10000 Hz);
// margin: upper ..." (on one line; every run beyond a limit listed; the
// margin of each limit that covers a point).
std::string FormatCheckLine(const std::string& name, const LimitResult& result, CurveKind kind);

// The result as a JSON object on one line: name, result, unit ("dB" or
// "Ohm"), above and below as arrays of {from, to, worst, at}, margin as
// {upper, lower}, each {distance, at} or null, and reason (what was not
// judged) when a limit covers none of its points.
std::string FormatCheckJson(const std::string& name, const LimitResult& result, CurveKind kind);

// The results of a run, counted.
class CheckTally
{
public:
    explicit CheckTally(CurveKind kind)
        : kind_(kind)
    {
    }

    void Add(const std::string& name, const LimitResult& result);
    void AddRefused(std::size_t count = 1) { refused_ += count; }

    std::size_t checked() const { return passed_ + failed_ + notJudged_ + refused_; }
    bool allPassed() const { return passed_ > 0 && passed_ == checked(); }

    // "checked 4 files: 1 pass, 2 fail, 0 not judged, 1 refused or
    // unreadable" and "yield 33.3 % (1 of 3 judged); closest to the limits
    // at 902.344 Hz: -5.00 dB to the upper limit", each ending in "\n";
    // "yield: no curve judged" when none was.
    std::string Lines() const;

    // The tally as JSON members: checked, pass, fail, notJudged, refused,
    // judged, yield (pass / judged, null when none was judged) and closest
    // ({name, limit, distance, at}, or null).
    std::string JsonMembers() const;

private:
    struct Closest {
        std::string name;
        bool upper = true;
        LimitMargin margin;
    };

    CurveKind kind_;
    std::size_t passed_ = 0, failed_ = 0, notJudged_ = 0, refused_ = 0;
    std::optional<Closest> closest_;
};
