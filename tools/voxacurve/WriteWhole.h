#pragma once
// Writing an output file of voxacurve whole or not at all.

#include "app/FileReplace.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// Replaces the file with the bytes so that a failure leaves it as it was
// (a temporary beside it, renamed over it); the error in words, or nothing.
std::optional<std::string> WriteWhole(
    const std::string& path, std::span<const unsigned char> bytes, Flush flush);

// The bytes of a text or a byte array.
std::span<const unsigned char> BytesOf(std::string_view bytes);
