#include "curves/FatalErrors.h"

namespace
{

const std::string kCheck
    = "Check connections and measuring structure, then repeat the measurement.";
const std::string kManual
    = "Pay attention to correct signals and connections. Refer the manual (RTFM)!";
const std::string kRestart = "It is strongly recommended to restart VOXA32.";

// The number line has two blanks before the number.
std::vector<std::string> numbered(int number, bool withAdvice)
{
    std::vector<std::string> lines {"FATAL ERROR", "Fatal Error Number  " + std::to_string(number)};
    if (withAdvice)
        lines.insert(lines.end(), {kCheck, kManual});
    lines.push_back(kRestart);
    return lines;
}

} // namespace

std::vector<std::string> FatalErrorLines(FaultKind kind)
{
    switch (kind) {
    case FaultKind::IntegerDivideByZero:
        return numbered(200, true);
    case FaultKind::FloatOverflow:
        return numbered(205, true);
    case FaultKind::FloatUnderflow:
        return numbered(206, true);
    case FaultKind::InvalidOperation:
        return numbered(207, true);
    case FaultKind::IntegerOverflow:
        return numbered(215, true);
    case FaultKind::AccessViolation:
        return numbered(216, false);
    case FaultKind::PrivilegedInstruction:
        return numbered(218, false);
    case FaultKind::Unknown:
        break;
    }
    return {"FATAL ERROR", "Unknown Fatal Error", kRestart};
}
