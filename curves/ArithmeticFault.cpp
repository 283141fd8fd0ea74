#include "curves/ArithmeticFault.h"

#include <cmath>
#include <cstdint>

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
