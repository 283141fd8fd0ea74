#pragma once
// File names as the outputs print them, so that every name identifies its
// file: a name holding a line break, a control character or bytes that are
// not UTF-8 is quoted in text as a shell reads it back, and kept byte for
// byte in JSON.

#include <cstddef>
#include <string>

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not one
// (overlong forms, surrogates and cut sequences are not).
std::size_t Utf8SequenceLength(const std::string& s, std::size_t i);

// The text as a JSON string literal: quotes, backslashes and control
// characters escaped, bytes that are not UTF-8 replaced by U+FFFD.
std::string JsonString(const std::string& text);

// The name for a line of text, quoted as GNU ls --quoting-style=shell-escape
// and find -printf %q quote: a name of letters, digits, UTF-8 characters and
// "%+,-./:@_" (and "#~" after its first character) as it is; else between
// single quotes (double quotes when it holds a single quote and nothing a
// shell expands there), control characters and bytes that are not UTF-8 as
// $'\n', $'\t' or $'\377' outside them: 'a b', "it's", 'line'$'\n''break'.
std::string QuotedName(const std::string& name);

// The name as a JSON string literal: as JsonString, except that each byte
// that is not part of UTF-8 is written as the lone surrogate \udcXX (XX its
// value), as Python's "surrogateescape" decodes it, so that the bytes of
// every name can be had back; a UTF-8 name reads as it is.
std::string JsonName(const std::string& name);
