#pragma once
// The message of the fatal-error guard of the load flows for each kind of
// arithmetic fault: the title "FATAL ERROR", the numbered line, and the
// advice lines.

#include "curves/ArithmeticFault.h"

#include <string>
#include <vector>

std::vector<std::string> FatalErrorLines(FaultKind kind);
