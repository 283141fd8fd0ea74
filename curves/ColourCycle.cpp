#include "curves/ColourCycle.h"

uint32_t NextCurveColour(uint32_t current)
{
    switch (current) {
    case kNoCurveColour:
    case kCurveGreen:
        return kCurveLime;
    case kCurveLime:
        return kCurveAqua;
    case kCurveAqua:
        return kCurveFuchsia;
    case kCurveFuchsia:
        return kCurveSilver;
    case kCurveSilver:
        return kCurveNavy;
    case kCurveNavy:
        return kCurveBlue;
    case kCurveBlue:
        return kCurvePurple;
    case kCurvePurple:
        return kCurveTeal;
    case kCurveTeal:
        return kCurveGreen;
    default:
        return current;
    }
}
