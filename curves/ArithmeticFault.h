#pragma once
// Arithmetic faults of curve drawing. The renderers check their logarithms and
// roundings and throw these; the load flows turn them into numbered messages.

#include <stdexcept>

enum class FaultKind {
    IntegerDivideByZero, // "Fatal Error Number  200"
    FloatOverflow, // 205
    FloatUnderflow, // 206
    InvalidOperation, // 207: log of a negative or non-finite value, rounding a non-finite value
    IntegerOverflow, // 215
    AccessViolation, // 216
    PrivilegedInstruction, // 218
    Unknown, // "Unknown Fatal Error", e.g. the logarithm of 0 (a float division by zero)
};

class ArithmeticFault : public std::runtime_error
{
public:
    explicit ArithmeticFault(FaultKind kind)
        : std::runtime_error("arithmetic fault")
        , m_kind(kind)
    {
    }
    FaultKind kind() const { return m_kind; }

private:
    static const char* describe(FaultKind kind);
    FaultKind m_kind;
};

// Natural logarithm that faults like the legacy floating-point unit:
// 0 -> Unknown (division by zero), negative, NaN or infinite -> InvalidOperation.
long double CheckedLn(long double v);
// Division that faults with Unknown (float division by zero) on a zero divisor.
long double CheckedDiv(long double a, long double b);
// Rounds to the nearest integer, halves to even; a value that is not finite
// or does not fit 32 bits faults with InvalidOperation.
int CheckedRound(long double v);
