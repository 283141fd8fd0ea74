#pragma once
// The two load flows of the soft keys F1 and F2: choose a curve file, read it
// into its slot and draw it over the picture in the next colour of the cycle.
// Each runs under a guard that reports arithmetic faults as numbered fatal
// errors.

#include <string>

void F1Click();
void F2Click();

// Opens a curve file named by its whole path as the user would: a frequency
// response with its kind's entry of the "Load..." menu checked and F1, an
// impedance curve with F2, the file chosen in the box. From then on the curve
// boxes list the file's folder (CurveDirectory itself stays as it is).
void OpenCommandLineCurve(const std::string& path);

// Read the named file (in the curve boxes' folder) into its slot and draw it; a file
// that cannot be read gives "Error reading " and the path, and the slot stays
// as it was.
void ReadResponseCurve(const std::string& name);
void ReadImpedanceCurve(const std::string& name);
