#pragma once
// Properties that must hold for any statistics CSV that render --band reads,
// shared by its fuzz target and the replay test (see InputChecks.h).

#include <optional>
#include <span>
#include <string>

// The bytes as a statistics CSV: it is either refused in words (with the
// line number for a fault in a line), or read into two or more rows of
// rising, finite frequency above 0 and values a curve holds, each row's
// mean and percentiles between its minimum and maximum, higher percentiles
// no lower. The band drawn of it, on the designed window and on extreme
// views and scales, then cuts to the data window in finite points inside
// it, however far its values lie.
std::optional<std::string> CheckStatsCsvInput(std::span<const unsigned char> bytes);
