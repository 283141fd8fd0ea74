#pragma once
// The command line of render: its options and what they ask for.

#include "curves/CurveTrace.h"
#include "plot/PlotState.h"
#include "plot/qt/PlotPainter.h"
#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/TextCurves.h"

#include <optional>
#include <string>
#include <vector>

enum class PictureFormat { Png, Svg, Pdf };

// Far beyond any screen, and small enough that a picture fits in memory.
constexpr int kMaxPictureSide = 16384;

// The format of a name (png, svg or pdf, letter case ignored), which is also
// the files' extension.
std::optional<PictureFormat> FormatOfName(std::string name);
std::string ExtensionOf(PictureFormat format);
// The format by the path's extension.
std::optional<PictureFormat> FormatOfPath(const std::string& path);

struct RenderOptions {
    int width = 640;
    int height = 450;
    TraceFrame view; // width and height of the data window set from the layout
    AxisScales scales;
    float serialResistor = 0;
    PlotColours colours;
    CurveTextOptions texts; // how FRD, ZMA, CSV and TXT files become curves
    std::optional<int> smoothing; // --smooth 1/N
    // --band, --upper, --lower and --legend; the limits on the scale of the
    // band's kind, else of the first file's kind
    PlotExtras extras;
};

// The options render knows: -o, --each, --format, the picture's options and
// those of curve texts and file lists.
std::vector<KnownOption> RenderKnownOptions();

// The picture's options and the band, or their defaults (a fresh
// configuration's scales, 640 x 450); UsageError for a value that cannot be
// used, in words.
RenderOptions RenderOptionsOf(const ParsedArguments& parsed);

// The limits of --upper and --lower, on the scale of the band's kind, else
// of the first file's kind (once the file lists are read into parsed.files);
// UsageError when one cannot be read.
void AddRenderLimits(const ParsedArguments& parsed, RenderOptions& options);
