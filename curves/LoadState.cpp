#include "curves/LoadState.h"

std::string CurveKindText = "--";
std::string CurveName;
