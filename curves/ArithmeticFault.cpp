#include "curves/ArithmeticFault.h"

#include <cmath>
#include <cstdint>

const char* ArithmeticFault::describe(FaultKind kind)
{
    switch (kind) {
    case FaultKind::IntegerDivideByZero:
        return "Drawing the curves failed: integer division by zero.";
    case FaultKind::FloatOverflow:
        return "Drawing the curves failed: a value is too large (floating-point overflow).";
    case FaultKind::FloatUnderflow:
        return "Drawing the curves failed: floating-point underflow.";
    case FaultKind::InvalidOperation:
        return "Drawing the curves failed: the logarithm of a negative or non-finite value, or "
               "a pixel position out of range (invalid floating-point operation).";
    case FaultKind::IntegerOverflow:
        return "Drawing the curves failed: integer overflow.";
    case FaultKind::AccessViolation:
        return "Drawing the curves failed: invalid memory access.";
    case FaultKind::PrivilegedInstruction:
        return "Drawing the curves failed: privileged instruction.";
    case FaultKind::Unknown:
        break;
    }
    return "Drawing the curves failed: the logarithm of zero or a division by zero (check the "
           "scales of the configuration and the curve values).";
}

long double CheckedLn(long double v)
{
    if (v == 0.0L)
        throw ArithmeticFault(FaultKind::Unknown);
    if (!(v > 0.0L) || std::isinf(v))
        throw ArithmeticFault(FaultKind::InvalidOperation);
    return std::log(v);
}

long double CheckedDiv(long double a, long double b)
{
    if (b == 0.0L)
        throw ArithmeticFault(FaultKind::Unknown);
    return a / b;
}

int CheckedRound(long double v)
{
    if (!std::isfinite(v))
        throw ArithmeticFault(FaultKind::InvalidOperation);
    // std::rint: halves to even in the default rounding mode, and much cheaper
    // than nearbyint, which saves and restores the floating-point environment.
    const long double r = std::rint(v);
    if (r < static_cast<long double>(INT32_MIN) || r > static_cast<long double>(INT32_MAX))
        throw ArithmeticFault(FaultKind::InvalidOperation);
    return static_cast<int>(r);
}
