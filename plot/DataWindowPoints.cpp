#include "plot/DataWindowPoints.h"

#include <cmath>

DataWindowPoints::DataWindowPoints(
    CurveKind kind, const AxisScales& scales, const TraceFrame& frame)
    : m_kind(kind)
    , m_scales(scales)
    , m_height(frame.height)
    , m_mapping(ComputeFreqMapping(frame.viewFreqLow, frame.viewFreqHigh, frame.width))
{
}

ClipPoint DataWindowPoints::operator()(double frequency, double magnitude) const
{
    const AxisScales& s = m_scales;
    const double x = std::log(frequency) * m_mapping.FrequencyScale + m_mapping.FrequencyOffset;
    const double y = m_kind == CurveKind::Response
        ? m_height * (s.LevelTop - magnitude) / s.LevelRange
        : m_height * (1 - (10 * magnitude - s.ImpedanceBase) / (8.0 * s.ImpedanceStep));
    return {x, y};
}
