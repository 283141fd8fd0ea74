#pragma once
// Properties that must hold for the texts of the file box, checked by the
// fuzz target of file names and replayed on its corpus by the test suite
// (as the checks of fuzz/InputChecks.h are).

#include <optional>
#include <span>
#include <string>

// The bytes as the texts of the file box: up to the first zero byte the
// edit field's text, after it the extension (all of the rest). Checks the
// chosen-name rule, the list mask, mask matching, the program directory
// rule, the column edges and the file size text.
std::optional<std::string> CheckFileNameInput(std::span<const unsigned char> bytes);
