#pragma once
// Properties that must hold for any partial of voxacurve stats that a merge
// reads, checked by the fuzz target of partials and replayed on its corpus
// by the test suite (each other input has its own checks beside this file).

#include <optional>
#include <span>
#include <string>

// The first byte guides the fuzzer past the checksum: odd, the rest gets the
// checksum that fits before it is read, so the fields behind it are reached;
// even, the rest is read as it stands. The rest is refused with a reason in
// words, or it is a sound partial: written again it gives the same bytes,
// its grid lies where curve files reach, its counts fit its values and
// identities, its statistics are finite and ordered (minimum <= percentiles
// <= maximum, the mean between them, a deviation where two curves count),
// it merges into nothing, and a copy of it does not merge again.
std::optional<std::string> CheckStatsPartialInput(std::span<const unsigned char> bytes);
