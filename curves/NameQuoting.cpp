#include "curves/NameQuoting.h"

#include <string_view>

namespace
{

constexpr const char* kHex = "0123456789abcdef";

bool isSafeAscii(char c, bool first)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z')
        || (byte >= 'a' && byte <= 'z'))
        return true;
    if (std::string_view("%+,-./:@_]{}").find(c) != std::string_view::npos)
        return true;
    return !first && (c == '#' || c == '~');
}

// How many bytes from s[i] on print as they are: a printable ASCII
// character (1) or a UTF-8 character above the C1 controls; 0 for a byte to
// escape.
std::size_t printableLength(const std::string& s, std::size_t i)
{
    const auto byte = static_cast<unsigned char>(s[i]);
    if (byte < 0x80)
        return byte >= 0x20 && byte != 0x7F ? 1 : 0;
    const std::size_t length = Utf8SequenceLength(s, i);
    const bool c1Control
        = length == 2 && byte == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0;
    return c1Control ? 0 : length;
}

// A byte as $'...' writes it.
std::string escapedByte(unsigned char byte)
{
    switch (byte) {
    case '\a':
        return "\\a";
    case '\b':
        return "\\b";
    case '\t':
        return "\\t";
    case '\n':
        return "\\n";
    case '\v':
        return "\\v";
    case '\f':
        return "\\f";
    case '\r':
        return "\\r";
    default:
        return {
            '\\', char('0' + (byte >> 6)), char('0' + ((byte >> 3) & 7)), char('0' + (byte & 7))};
    }
}

bool needsQuotes(const std::string& name)
{
    if (name.empty())
        return true;
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x80 && !isSafeAscii(name[i], i == 0))
            return true;
        const std::size_t length = printableLength(name, i);
        if (length == 0)
            return true;
        i += length;
    }
    // "{" or "}" alone is a word a shell reads as a keyword.
    return name == "{" || name == "}";
}

} // namespace

std::size_t Utf8SequenceLength(const std::string& s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned int lowestSecond = 0x80, highestSecond = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowestSecond = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        highestSecond = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowestSecond = lead == 0xF0 ? 0x90 : 0x80;
        highestSecond = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || i + length > s.size())
        return 0;
    if (byte(i + 1) < lowestSecond || byte(i + 1) > highestSecond)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return length;
}

std::string QuotedName(const std::string& name)
{
    if (!needsQuotes(name))
        return name;
    bool printable = true;
    for (std::size_t i = 0; i < name.size() && printable;) {
        const std::size_t length = printableLength(name, i);
        printable = length > 0;
        i += length;
    }
    if (printable && name.find('\'') != std::string::npos
        && name.find_first_of("\"$`\\!") == std::string::npos)
        return "\"" + name + "\"";
    // Printable runs between single quotes, the rest as $'...'.
    std::string quoted;
    bool inQuotes = false, inEscapes = false;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = printableLength(name, i);
        if (length == 0) {
            quoted += inQuotes ? "'" : "";
            quoted += inEscapes ? "" : "$'";
            quoted += escapedByte(static_cast<unsigned char>(name[i]));
            inQuotes = false;
            inEscapes = true;
            ++i;
            continue;
        }
        quoted += inEscapes ? "'" : "";
        quoted += inQuotes ? "" : "'";
        inEscapes = false;
        inQuotes = true;
        quoted += name[i] == '\'' ? std::string("'\\''") : name.substr(i, length);
        i += length;
    }
    return quoted.empty() ? "''" : quoted + "'";
}

std::string JsonName(const std::string& name)
{
    std::string json;
    std::size_t valid = 0; // the start of the UTF-8 run not yet written
    const auto writeValid = [&](std::size_t end) {
        const std::string escaped = JsonString(name.substr(valid, end - valid));
        json += escaped.substr(1, escaped.size() - 2);
    };
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        if (const std::size_t length = Utf8SequenceLength(name, i)) {
            i += length;
            continue;
        }
        writeValid(i);
        json += "\\udc";
        json += kHex[byte >> 4];
        json += kHex[byte & 0xF];
        valid = ++i;
    }
    writeValid(name.size());
    return "\"" + json + "\"";
}

std::string JsonString(const std::string& text)
{
    static const char* const kHex = "0123456789abcdef";
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            json += "\\u00";
            json += kHex[c >> 4];
            json += kHex[c & 0xF];
        } else if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(text, i);
            json += length ? text.substr(i, length) : "\\ufffd";
            i += length ? length : 1;
            continue;
        } else
            json += static_cast<char>(c);
        ++i;
    }
    return json + "\"";
}
