#include "curves/OctaveSmoothing.h"

#include "curves/CurveInfo.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

constexpr int kFractions[] = {1, 2, 3, 6, 12, 24, 48};

bool Drawable(float value)
{
    return value > 0.0f && std::isfinite(value);
}

// The sum of a window that only moves forward, without subtraction: the
// front part [first, middle) as suffix sums made once per element, the
// back part [middle, end) as a running sum. Every sum adds non-negative
// terms only, so no large power cancels a small one.
class ForwardWindowSum
{
public:
    explicit ForwardWindowSum(std::span<const double> terms)
        : m_terms(terms)
        , m_suffix(terms.size(), 0.0)
    {
    }

    void extendTo(int end)
    {
        for (; m_end < end; ++m_end)
            m_back += m_terms[std::size_t(m_end)];
    }

    void dropBefore(int first)
    {
        for (; m_first < first; ++m_first) {
            if (m_first == m_middle)
                makeBackTheFront();
        }
    }

    double sum() const
    {
        return (m_first < m_middle ? m_suffix[std::size_t(m_first)] : 0.0) + m_back;
    }

private:
    void makeBackTheFront()
    {
        double suffix = 0;
        for (int k = m_end; k-- > m_middle;) {
            suffix += m_terms[std::size_t(k)];
            m_suffix[std::size_t(k)] = suffix;
        }
        m_middle = m_end;
        m_back = 0;
    }

    std::span<const double> m_terms;
    std::vector<double> m_suffix;
    int m_first = 0, m_middle = 0, m_end = 0;
    double m_back = 0;
};

} // namespace

std::optional<int> ParseSmoothingFraction(const std::string& text)
{
    for (const int fraction : kFractions) {
        if (text == "1/" + std::to_string(fraction))
            return fraction;
    }
    return std::nullopt;
}

bool IsSmoothingFraction(int fraction)
{
    return std::find(std::begin(kFractions), std::end(kFractions), fraction)
        != std::end(kFractions);
}

std::string SmoothingWords(int fraction)
{
    return fraction == 0 ? "unsmoothed" : "smoothed to 1/" + std::to_string(fraction) + " octave";
}

void SmoothBins(std::span<float> values, int firstBin, int fraction)
{
    const int count = static_cast<int>(values.size());
    // Indices into values; bin i is values[i - firstBin].
    std::vector<double> power(values.size());
    std::vector<int> drawableBefore(values.size() + 1, 0);
    for (int k = 0; k < count; ++k) {
        const bool drawable = Drawable(values[std::size_t(k)]);
        power[std::size_t(k)]
            = drawable ? double(values[std::size_t(k)]) * values[std::size_t(k)] : 0.0;
        drawableBefore[std::size_t(k) + 1] = drawableBefore[std::size_t(k)] + (drawable ? 1 : 0);
    }
    // The window's edges: bin * 2^(-1/(2N)) and bin * 2^(1/(2N)).
    const double lowFactor = std::exp2(-0.5 / fraction), highFactor = std::exp2(0.5 / fraction);
    ForwardWindowSum window(power);
    int low = 0, high = 0; // the window of bin k as indices low ... high-1
    for (int k = 0; k < count; ++k) {
        const double bin = double(firstBin) + k;
        while (high < count && double(firstBin) + high <= bin * highFactor)
            ++high;
        high = std::max(high, k + 1);
        while (low < k && double(firstBin) + low < bin * lowFactor)
            ++low;
        window.extendTo(high);
        window.dropBefore(low);
        if (!Drawable(values[std::size_t(k)]))
            continue;
        const int drawable = drawableBefore[std::size_t(high)] - drawableBefore[std::size_t(low)];
        values[std::size_t(k)] = static_cast<float>(std::sqrt(window.sum() / drawable));
    }
}

void SmoothCurveBand(CurveFile& file, int fraction)
{
    const BinRange bins = BandBins(file.header);
    SmoothBins(
        std::span(file.values).subspan(std::size_t(bins.first), std::size_t(bins.end - bins.first)),
        bins.first, fraction);
}

std::string SmoothingComment(int fraction)
{
    return "Smoothing 1/" + std::to_string(fraction) + " octave: each bin the power average of "
        + "the bins within +-1/" + std::to_string(2 * fraction) + " octave of it";
}
