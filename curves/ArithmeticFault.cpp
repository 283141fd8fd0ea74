#include "curves/ArithmeticFault.h"

#include <cmath>
#include <cstdint>

namespace
{

std::string faultMessage(FaultKind kind, const std::string& where, const std::string& consequence)
{
    std::string message = where + ": " + DescribeFault(kind) + ".";
    if (!consequence.empty())
        message += " " + consequence;
    return message;
}

} // namespace

std::string DescribeFault(FaultKind kind)
{
    switch (kind) {
    case FaultKind::IntegerDivideByZero:
        return "integer division by zero";
    case FaultKind::FloatOverflow:
        return "floating-point overflow (a value beyond the single-precision range)";
    case FaultKind::FloatUnderflow:
        return "floating-point underflow";
    case FaultKind::InvalidOperation:
        return "invalid floating-point operation (the logarithm of a negative or non-finite "
               "value, or a pixel position beyond the integer range)";
    case FaultKind::IntegerOverflow:
        return "integer overflow";
    case FaultKind::AccessViolation:
        return "invalid memory access";
    case FaultKind::PrivilegedInstruction:
        return "privileged instruction";
    case FaultKind::Unknown:
        break;
    }
    return "floating-point division by zero (the logarithm of zero, or a scale of zero)";
}

ArithmeticFault::ArithmeticFault(
    FaultKind kind, const std::string& where, const std::string& consequence)
    : std::runtime_error(faultMessage(kind, where, consequence))
    , m_kind(kind)
{
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
