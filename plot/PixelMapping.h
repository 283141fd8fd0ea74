#pragma once
// The logarithmic frequency mapping of the data window.
//
// FrequencyScale a = W / (ln high - ln low) and FrequencyOffset b = -a ln low,
// each kept in single precision; FreqToX(f) = round(a ln f + b), halves to
// even. low maps to column 0 and high to column W. Frequencies outside the
// window give columns outside 0..W.
//
// Faults (ArithmeticFault): equal edges divide by zero (Unknown); an edge or a
// frequency that is 0, negative or not finite faults like CheckedLn; a column
// that does not fit 32 bits faults with InvalidOperation.

struct FreqMapping {
    float FrequencyScale = 0.0f;
    float FrequencyOffset = 0.0f;
};

FreqMapping ComputeFreqMapping(float viewFreqLow, float viewFreqHigh, int width);
int FreqToX(const FreqMapping& mapping, long double frequency);
