#include "curves/CurveSlot.h"

#include <algorithm>

CurveSlot ResponseCurve;
CurveSlot ImpedanceCurve;

void EmptyCurveSlot(CurveSlot& slot)
{
    std::fill_n(slot.values, kCurveCapacity, EmptyCurveValue);
    slot.header = kEmptyCurveHeader;
}
