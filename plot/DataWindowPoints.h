#pragma once
// Frequencies and levels (dB) or impedances (Ohm) as points of the data
// window, in its own coordinates and unrounded: for what is drawn over the
// curves from values rather than from a curve file (a statistics band,
// limit lines).

#include "curves/CurveInfo.h"
#include "curves/CurveTrace.h"
#include "plot/PixelMapping.h"
#include "plot/PlotState.h"
#include "plot/PolylineClip.h"

class DataWindowPoints
{
public:
    // The frequency mapping of the frame is computed once.
    DataWindowPoints(CurveKind kind, const AxisScales& scales, const TraceFrame& frame);

    // x = ln(f) * FrequencyScale + FrequencyOffset as the curves are drawn;
    // y = height * (LevelTop - dB) / LevelRange, or for impedances
    // height * (1 - (10 Ohm - ImpedanceBase) / (8 ImpedanceStep)). A value
    // beyond any picture can give an infinite coordinate (and a frequency of
    // 0 or below one of no number): ClipPolyline and ClipPolygon take them.
    ClipPoint operator()(double frequency, double magnitude) const;

private:
    CurveKind m_kind;
    AxisScales m_scales;
    int m_height;
    FreqMapping m_mapping;
};
