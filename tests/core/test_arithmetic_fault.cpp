#include "curves/ArithmeticFault.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{

// Every kind is named in words of its own, after the computation that failed.
TEST(ArithmeticFault, MessageSaysWhereAndWhatKindOfFault)
{
    const FaultKind kinds[] = {FaultKind::IntegerDivideByZero, FaultKind::FloatOverflow,
        FaultKind::FloatUnderflow, FaultKind::InvalidOperation, FaultKind::IntegerOverflow,
        FaultKind::AccessViolation, FaultKind::PrivilegedInstruction, FaultKind::Unknown};
    std::set<std::string> descriptions;
    for (FaultKind kind : kinds) {
        const std::string words = DescribeFault(kind);
        descriptions.insert(words);
        const std::string message
            = ArithmeticFault(kind, "Drawing the impedance curve failed").what();
        EXPECT_EQ(message, "Drawing the impedance curve failed: " + words + ".");
    }
    EXPECT_EQ(descriptions.size(), std::size(kinds));
    EXPECT_EQ(
        std::string(
            ArithmeticFault(FaultKind::Unknown, "Drawing failed", "Nothing was lost.").what()),
        "Drawing failed: floating-point division by zero (the logarithm of zero, or a scale of "
        "zero). "
        "Nothing was lost.");
}

// The checked helpers fault without knowing where; their message still names the kind.
TEST(ArithmeticFault, HelpersFaultInWordsToo)
{
    try {
        CheckedLn(0.0L);
        ADD_FAILURE() << "no fault";
    } catch (const ArithmeticFault& fault) {
        EXPECT_EQ(std::string(fault.what()),
            "A computation failed: " + DescribeFault(FaultKind::Unknown) + ".");
    }
}

} // namespace
