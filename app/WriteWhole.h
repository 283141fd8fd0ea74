#pragma once
// Writing an output file of the viewer or voxacurve (a bitmap, an export,
// a curve file, a picture) whole or not at all; reading an input file whole.

#include "app/FileReplace.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Replaces the file with the bytes so that a failure leaves it as it was
// (a temporary beside it, renamed over it: ReplaceFileContents); the error
// in words, or nothing. What is not a regular file is not replaced: the
// bytes go into a character device or a FIFO as they stand, into the open
// descriptor /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N name;
// a directory, a block device or a socket is refused.
std::optional<std::string> WriteWhole(
    const std::string& path, std::span<const unsigned char> bytes, Flush flush);

// The bytes of a text or a byte array.
std::span<const unsigned char> BytesOf(std::string_view bytes);

// The largest curve text (import, limits of check) read: far more than any
// curve needs.
constexpr std::uintmax_t kMaxTextBytes = 64u << 20;

// The whole content of a regular file of at most maxBytes, or the reason it
// cannot be read in words ("cannot be read: no such file", ...).
std::optional<std::string> ReadWholeFile(
    const std::string& path, std::uintmax_t maxBytes, std::string& bytes);
