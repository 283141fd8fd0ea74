#include "curves/LoadState.h"

std::string CurveKindText = "--";
std::string CurveName;
std::string CommandLineCurveFolder;
CurveColourCycle CurveColours;

std::string WithoutExtension(const std::string& name)
{
    const auto point = name.rfind('.');
    return point == std::string::npos ? name : name.substr(0, point);
}
