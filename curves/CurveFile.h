#pragma once
// Reading a curve file: a 20-byte header followed by N/2 single-precision
// values, all little-endian.
//
//   offset 0  float   LevelFactor
//   offset 4  int32   SampleRate (Hz)
//   offset 8  int32   TransformLength N
//   offset 12 float   UpperFrequency (Hz)
//   offset 16 float   LowerFrequency (Hz)
//   offset 20 float[N/2] values; bytes after 20 + 2N are ignored
//
// A file is read into a scratch CurveFile first; only a complete, sane file
// is copied into a curve slot, so a failed read leaves the slot untouched.
// Every status other than Ok is reported to the user alike, as
// "Error reading " followed by the path.

#include "curves/CurveSlot.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr std::size_t kCurveHeaderBytes = 20;
// The longest prefix of a file that can matter: header and 32768 values.
constexpr std::size_t kMaxCurveFileBytes
    = kCurveHeaderBytes + 2 * std::size_t {kMaxTransformLength};

enum class CurveFileStatus {
    Ok,
    Unreadable, // missing, not a regular file, or a read error
    Truncated, // shorter than the header, or than 20 + 2N bytes
    BadHeader, // TransformLength not positive, odd or above 65536, or SampleRate not positive
};

struct CurveFile {
    CurveFileStatus status = CurveFileStatus::Unreadable;
    CurveHeader header; // as stored in the file (also when the header is refused)
    std::vector<float> values; // the N/2 values when status is Ok, else empty
    std::string unreadable; // why, when Unreadable (see WhyUnreadable)

    bool ok() const { return status == CurveFileStatus::Ok; }
};

// Decodes a curve file from its bytes. The values are taken as they stand:
// zero, negative and non-finite values are accepted (drawing reports them).
CurveFile ParseCurveFile(std::span<const unsigned char> bytes);

// Reads at most kMaxCurveFileBytes from the start of a regular file. Returns
// nothing when the path cannot be opened or read, or names a directory, FIFO
// or device; never blocks on a FIFO.
std::optional<std::vector<unsigned char>> ReadCurveFileBytes(const std::string& path);

// Why a path that could not be read is not readable, in words: "no such
// file", "permission denied", "a directory, not a regular file", "a FIFO,
// not a regular file", "not a regular file" or "a read error".
std::string WhyUnreadable(const std::string& path);

// ReadCurveFileBytes then ParseCurveFile; Unreadable (with the reason) when
// the bytes cannot be read.
CurveFile ReadCurveFile(const std::string& path);

// Copies a successfully read file into a slot: the header and the first N/2
// values; values beyond N/2 keep their content. Does nothing when the file
// is not ok. slot.values must hold kCurveCapacity values.
void CommitCurveFile(const CurveFile& file, CurveSlot& slot);
