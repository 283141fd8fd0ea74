#pragma once
// Curve texts (FRD, ZMA, CSV, TXT) where curve files are expected: read
// with import's tolerant reader and made into the curve file import would
// write, with import's options --rate, --length, --serial-resistor and
// --columns.

#include "curves/CurveFile.h"
#include "curves/CurveText.h"
#include "tools/voxacurve/Arguments.h"

#include <optional>
#include <string>
#include <vector>

// A name ending in .frd, .zma, .csv or .txt (letter case ignored).
bool IsCurveTextName(const std::string& name);

// The known options plus --rate, --length and --columns.
std::vector<KnownOption> WithCurveTextOptions(std::vector<KnownOption> known);

// How a text becomes a curve file: the settings (the kind is set per text)
// and the columns.
struct CurveTextOptions {
    ImportSettings settings;
    ColumnChoice columns;
};

// The options --rate, --length, --serial-resistor and --columns, or their
// defaults; UsageError for a value out of range.
CurveTextOptions CurveTextOptionsOf(const ParsedArguments& parsed);

struct TextCurve {
    CurveKind kind = CurveKind::Response; // by CurveTextKind
    CurveFile file;
    std::optional<std::string> error; // set: why the text gives no curve ("line 3: ...")
};

// The curve file of the text at path, as import makes it.
TextCurve ReadTextCurve(const std::string& path, const CurveTextOptions& options);
