#include "curves/FatalErrors.h"

#include <gtest/gtest.h>

namespace
{

TEST(FatalErrors, EachKindHasItsNumberedLinesAndAdvice)
{
    const std::string check
        = "Check connections and measuring structure, then repeat the measurement.";
    const std::string manual
        = "Pay attention to correct signals and connections. Refer the manual (RTFM)!";
    const std::string restart = "It is strongly recommended to restart VOXA32.";
    struct Case {
        FaultKind kind;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases {
        {FaultKind::IntegerDivideByZero,
            {"FATAL ERROR", "Fatal Error Number  200", check, manual, restart}},
        {FaultKind::FloatOverflow,
            {"FATAL ERROR", "Fatal Error Number  205", check, manual, restart}},
        {FaultKind::FloatUnderflow,
            {"FATAL ERROR", "Fatal Error Number  206", check, manual, restart}},
        {FaultKind::InvalidOperation,
            {"FATAL ERROR", "Fatal Error Number  207", check, manual, restart}},
        {FaultKind::IntegerOverflow,
            {"FATAL ERROR", "Fatal Error Number  215", check, manual, restart}},
        {FaultKind::AccessViolation, {"FATAL ERROR", "Fatal Error Number  216", restart}},
        {FaultKind::PrivilegedInstruction, {"FATAL ERROR", "Fatal Error Number  218", restart}},
        {FaultKind::Unknown, {"FATAL ERROR", "Unknown Fatal Error", restart}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines[1]);
        EXPECT_EQ(FatalErrorLines(c.kind), c.lines);
    }
}

} // namespace
