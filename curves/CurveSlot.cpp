#include "curves/CurveSlot.h"

CurveSlot ResponseCurve;
CurveSlot ImpedanceCurve;
