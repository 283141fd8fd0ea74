#pragma once
// The binary partial of a statistics run (the layout is in the README): all
// the values, so that merging partials gives exactly what one run gives, and
// what identifies the input, so that no curve and no partial counts twice.

#include "curves/CurveStats.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What identifies a curve file among all inputs of a merge: its device,
// inode, size and modification time (in ns) mixed into 64 bits. A copy of a
// partial or one file in two jobs holds the same identity twice; a copy of
// a curve file is another file and counts on its own, as in one run.
uint64_t CurveIdentity(uint64_t device, uint64_t inode, uint64_t size, int64_t modifiedNs);

// The partial of the statistics, marked with the run number (a random
// number per partial written).
std::vector<unsigned char> EncodeStatsPartial(const CurveStats& stats, uint64_t run);

struct DecodedStats {
    CurveStats stats; // runs holds the partial's run number
    std::optional<std::string> error; // set: why the bytes are no partial; stats empty
};

// Reads a partial; anything malformed, truncated, changed or beyond what a
// run can write (a grid point no curve file reaches, counts the data
// contradict) is refused with the reason in words.
DecodedStats DecodeStatsPartial(std::span<const unsigned char> bytes);

// The bytes with their last 8 replaced by the checksum of the others, as
// the encoder ends them; bytes shorter than 8 are returned as they are.
std::vector<unsigned char> WithPartialChecksum(std::span<const unsigned char> bytes);
