#include "curves/KindedText.h"

KindedCurveText ParseKindedCurveText(
    std::string_view text, std::string_view extension, const ColumnChoice& columns)
{
    KindedCurveText read;
    read.parsed = ParseCurveText(text, CurveKind::Response, columns);
    if (read.parsed.error)
        return read;
    read.kind = CurveTextKind(extension, read.parsed.header);
    if (read.kind == CurveKind::Impedance)
        read.parsed = ParseCurveText(text, read.kind, columns);
    return read;
}
