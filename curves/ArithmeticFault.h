#pragma once
// Arithmetic faults of curve drawing. The renderers check their logarithms and
// roundings and throw these; the load flows turn them into numbered messages.

#include <stdexcept>
#include <string>

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

// The kind of fault in words, e.g. "floating-point division by zero (...)".
std::string DescribeFault(FaultKind kind);

class ArithmeticFault : public std::runtime_error
{
public:
    // The message reads "<where>: <the kind in words>." followed by the
    // consequence, if any: where names the computation that failed, e.g.
    // "Drawing the impedance curve failed".
    explicit ArithmeticFault(FaultKind kind, const std::string& where = "A computation failed",
        const std::string& consequence = "");
    FaultKind kind() const { return m_kind; }

private:
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
