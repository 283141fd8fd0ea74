#pragma once
// Properties that must hold for the texts of the file box on a real
// directory and of the message box, checked by the fuzz target of box texts
// and replayed on its corpus by the test suite (as the checks of
// fuzz/InputChecks.h are).

#include <optional>
#include <span>
#include <string>

// The bytes as the texts of the file box on a real directory and of the
// message box: parts separated by zero bytes, the first the extension, the
// second the typed name, the rest names of files (at most 8, '/' made '_')
// that are created in a private temporary directory with i bytes each.
// The listing through the list's mask holds exactly the created, unhidden
// names that match it, each with its size; a typed name stands for itself or
// a listed file; names are cut at 255 bytes without splitting a character.
// Then the message box for these texts as lines (widths of 6 pixels a byte)
// is at least 50 wide, wide enough for every line, as high as its lines
// and buttons, with the buttons inside it.
std::optional<std::string> CheckBoxTextsInput(std::span<const unsigned char> bytes);
