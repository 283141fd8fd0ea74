#pragma once
// A curve text read as the kind of curve its name and header row give, as
// import and the limits of check read it.

#include "curves/CurveInfo.h"
#include "curves/CurveText.h"

#include <string_view>

struct KindedCurveText {
    CurveKind kind = CurveKind::Response; // by CurveTextKind; a response when unreadable
    ParsedCurveText parsed; // read as that kind
};

// The text read first as a response (which has no checks of its own beyond
// the text's), then, when its extension or header row name an impedance
// curve (CurveTextKind), again as one, for the impedances' own checks.
KindedCurveText ParseKindedCurveText(
    std::string_view text, std::string_view extension, const ColumnChoice& columns = {});
