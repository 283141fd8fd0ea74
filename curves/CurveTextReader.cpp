#include "curves/CurveText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace
{

enum class Separator { Semicolon, Blank, Comma };

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> SplitFields(std::string_view line, Separator separator)
{
    std::vector<std::string_view> fields;
    if (separator == Separator::Blank) {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            const std::size_t start = i;
            while (i < line.size() && !IsBlank(line[i]))
                ++i;
            if (i > start)
                fields.push_back(line.substr(start, i - start));
        }
        return fields;
    }
    const char mark = separator == Separator::Semicolon ? ';' : ',';
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(mark, start);
        fields.push_back(Trim(line.substr(start, end - start)));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

// The field as a number: optional sign, digits, point (or decimal comma
// where allowed), exponent; also an infinity or NaN spelled out. Nothing for
// anything else.
std::optional<double> SpelledNumber(std::string_view field, bool decimalComma)
{
    std::string text(field);
    if (decimalComma)
        std::replace(text.begin(), text.end(), ',', '.');
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last || first == last)
        return std::nullopt;
    return value;
}

// The field as a finite number, as SpelledNumber reads it.
std::optional<double> ReadNumber(std::string_view field, bool decimalComma)
{
    const std::optional<double> value = SpelledNumber(field, decimalComma);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

// "1,000" or "-12,500": one comma with one to three digits before it and
// three after, which may be a thousands separator (1000) as well as a
// decimal comma (1.000).
bool GroupedByThousands(std::string_view field)
{
    if (!field.empty() && (field.front() == '+' || field.front() == '-'))
        field.remove_prefix(1);
    const std::size_t comma = field.find(',');
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return comma >= 1 && comma <= 3 && field.size() == comma + 4 && digits(field.substr(0, comma))
        && digits(field.substr(comma + 1));
}

// A number with a comma that can only be a decimal comma ("80,5").
bool ShowsDecimalComma(std::string_view field)
{
    return field.find(',') != std::string_view::npos && !GroupedByThousands(field)
        && ReadNumber(field, true);
}

bool IsNumberPair(const std::vector<std::string_view>& fields, bool decimalComma)
{
    return fields.size() >= 2 && ReadNumber(fields[0], decimalComma)
        && ReadNumber(fields[1], decimalComma);
}

Separator DetectSeparator(std::string_view line)
{
    if (line.find(';') != std::string_view::npos)
        return Separator::Semicolon;
    if (line.find(',') == std::string_view::npos
        || IsNumberPair(SplitFields(line, Separator::Blank), true))
        return Separator::Blank;
    return Separator::Comma;
}

bool IsCommentOrBlank(std::string_view line)
{
    const std::string_view t = Trim(line);
    return t.empty() || t.front() == '*' || t.front() == '#' || t.front() == '"'
        || t.front() == ';';
}

// A piece of the input fit for a message: printable ASCII, at most 40 characters.
std::string Quote(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < 40; ++i) {
        const char c = text[i];
        out += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return out + (text.size() > 40 ? "...\"" : "\"");
}

// Checks one data line and appends its point, the frequency and magnitude
// taken from the fields columns.frequency and columns.magnitude (0-based);
// the error, if any.
std::optional<std::string> AddPoint(ParsedCurveText& parsed,
    const std::vector<std::string_view>& fields, bool decimalComma, CurveKind kind, int line,
    TextColumns columns)
{
    if (fields.size() < 2)
        return "expected a frequency and a magnitude, found "
            + Quote(fields.empty() ? "" : fields[0]);
    if (fields.size() <= std::max(columns.frequency, columns.magnitude))
        return "expected the frequency in column " + std::to_string(columns.frequency + 1)
            + " and the magnitude in column " + std::to_string(columns.magnitude + 1) + ", found "
            + std::to_string(fields.size()) + " columns";
    const std::string_view frequencyField = fields[columns.frequency];
    const std::string_view magnitudeField = fields[columns.magnitude];
    const auto frequency = ReadNumber(frequencyField, decimalComma);
    if (!frequency)
        return "the frequency " + Quote(frequencyField) + " is not a number";
    const auto magnitude = ReadNumber(magnitudeField, decimalComma);
    if (!magnitude)
        return "the magnitude " + Quote(magnitudeField) + " is not a number";
    if (*frequency < 0)
        return "the frequency " + FormatFrequency(*frequency) + " is negative";
    if (!parsed.points.empty() && *frequency <= parsed.points.back().frequency)
        return "the frequency " + FormatFrequency(*frequency) + " does not rise above the "
            + FormatFrequency(parsed.points.back().frequency) + " of line "
            + std::to_string(parsed.points.back().line);
    if (kind == CurveKind::Impedance && *magnitude <= 0)
        return "the impedance " + FormatNumber(*magnitude, 9) + " Ohm is not positive";
    parsed.points.push_back({*frequency, *magnitude, line});
    return std::nullopt;
}

// A frequency written as "1,000" in a text whose numbers may have decimal
// commas, before any number showed that they do: the reading is a guess
// either way (levels of 80,500 dB are no thousands), so the line is refused
// with both readings.
std::optional<std::string> AmbiguousComma(
    const std::vector<std::string_view>& fields, TextColumns columns, bool& decimalCommaSeen)
{
    for (const std::size_t column : {columns.frequency, columns.magnitude})
        if (column < fields.size() && ShowsDecimalComma(fields[column]))
            decimalCommaSeen = true;
    if (decimalCommaSeen || columns.frequency >= fields.size()
        || !GroupedByThousands(fields[columns.frequency]))
        return std::nullopt;
    const std::string_view field = fields[columns.frequency];
    const std::size_t comma = field.find(',');
    const std::string before(field.substr(0, comma)), after(field.substr(comma + 1));
    return "the frequency " + Quote(field) + " may be " + before + after
        + " Hz (a thousands separator) or " + before + "." + after
        + " Hz (a decimal comma): write it without the separator, or with a point";
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The words of a header field in lower case: runs of letters and digits
// ("Frequency [Hz]" gives "frequency" and "hz").
std::vector<std::string> WordsOf(std::string_view field)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : Lower(field) + ' ') {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            word += c;
        else if (!word.empty())
            words.push_back(std::exchange(word, {}));
    }
    return words;
}

bool NamesOneOf(std::string_view field, std::initializer_list<std::string_view> names)
{
    for (const std::string& word : WordsOf(field))
        if (std::find(names.begin(), names.end(), word) != names.end())
            return true;
    return false;
}

// The first field the predicate accepts, other than `except`.
template <typename Predicate>
std::optional<std::size_t> FindField(const std::vector<std::string_view>& fields,
    std::optional<std::size_t> except, Predicate accepts)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (i != except && accepts(fields[i]))
            return i;
    return std::nullopt;
}

// The 0-based column a --columns entry names: a 1-based number, or a header
// field that is the name (letter case ignored) or has it as a word.
std::optional<std::size_t> ChosenColumn(
    const std::string& choice, const std::vector<std::string_view>& header)
{
    if (!choice.empty()
        && std::all_of(choice.begin(), choice.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const std::size_t number = std::strtoul(choice.c_str(), nullptr, 10);
        return number >= 1 ? std::optional<std::size_t>(number - 1) : std::nullopt;
    }
    const std::string name = Lower(choice);
    return FindField(header, std::nullopt, [&](std::string_view field) {
        const std::vector<std::string> words = WordsOf(field);
        return Lower(Trim(field)) == name
            || std::find(words.begin(), words.end(), name) != words.end();
    });
}

// Blank-separated header fields with the unit apart ("Frequency (Hz)") joined again.
std::vector<std::string_view> HeaderFields(std::string_view line, Separator separator)
{
    std::vector<std::string_view> fields = SplitFields(line, separator);
    if (separator != Separator::Blank)
        return fields;
    std::vector<std::string_view> joined;
    for (const std::string_view field : fields) {
        if (!joined.empty() && (field.front() == '(' || field.front() == '['))
            joined.back() = std::string_view(joined.back().data(),
                static_cast<std::size_t>(field.end() - joined.back().begin()));
        else
            joined.push_back(field);
    }
    return joined;
}

// The columns of the data: those chosen, else those the header row names
// when it has as many fields as the first data line, else the first two.
// Nothing while a chosen name is not in the header.
std::optional<TextColumns> ResolveColumns(
    const ColumnChoice& choice, const std::vector<std::string_view>& header, std::size_t dataFields)
{
    const bool named = header.size() == dataFields;
    std::optional<std::size_t> frequency, magnitude;
    if (!choice.frequency.empty()) {
        if (!(frequency = ChosenColumn(choice.frequency, header)))
            return std::nullopt;
    } else if (named)
        frequency = FindField(header, std::nullopt, [](std::string_view f) {
            return NamesOneOf(f, {"frequency", "freq", "hz"});
        });
    if (!choice.magnitude.empty()) {
        if (!(magnitude = ChosenColumn(choice.magnitude, header)))
            return std::nullopt;
    } else if (named)
        magnitude = FindField(header, frequency.value_or(0), [](std::string_view f) {
            return NamesOneOf(f, {"spl", "db", "raw", "magnitude", "impedance", "ohm"});
        });
    const std::size_t f = frequency.value_or(magnitude == 0u ? 1 : 0);
    return TextColumns {
        f, magnitude.value_or(f + 1 < std::max<std::size_t>(dataFields, 2) ? f + 1 : 0)};
}

// The next line of the text, without its end: "\n", "\r\n" or "\r".
std::string_view NextLine(std::string_view& text)
{
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    std::size_t skip = end == std::string_view::npos ? text.size() : end + 1;
    if (end != std::string_view::npos && text[end] == '\r' && end + 1 < text.size()
        && text[end + 1] == '\n')
        ++skip;
    text.remove_prefix(skip);
    return line;
}

// UTF-16 (by its byte order mark) as UTF-8; the reason in words when it is
// not sound. Other text is left alone.
std::optional<std::string> DecodeUtf16(std::string_view& text, std::string& decoded)
{
    const bool little = text.starts_with("\xFF\xFE");
    if (!little && !text.starts_with("\xFE\xFF"))
        return std::nullopt;
    if (text.size() % 2 != 0)
        return "UTF-16 text (by its byte order mark) of an odd number of bytes";
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(text[i + 1]);
        return little ? static_cast<uint32_t>(a | b << 8) : static_cast<uint32_t>(a << 8 | b);
    };
    for (std::size_t i = 2; i < text.size(); i += 2) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 2 < text.size() && unit(i + 2) >= 0xDC00
            && unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF)
            return "UTF-16 text with a broken surrogate pair at byte " + std::to_string(i);
        if (c < 0x80)
            decoded += static_cast<char>(c);
        else if (c < 0x800)
            decoded += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
        else if (c < 0x10000)
            decoded += {static_cast<char>(0xE0 | c >> 12),
                static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        else
            decoded += {static_cast<char>(0xF0 | c >> 18),
                static_cast<char>(0x80 | (c >> 12 & 0x3F)),
                static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    text = decoded;
    return std::nullopt;
}

} // namespace

ParsedCurveText ParseCurveText(std::string_view text, CurveKind kind, const ColumnChoice& choice)
{
    ParsedCurveText parsed;
    std::string decoded;
    if (const auto undecodable = DecodeUtf16(text, decoded)) {
        parsed.error = TextError {0, *undecodable};
        return parsed;
    }
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (text.find('\0') != std::string_view::npos) {
        parsed.error = TextError {
            0, "NUL bytes in the text: UTF-16 without a byte order mark, or no text at all"};
        return parsed;
    }
    std::optional<Separator> separator;
    TextColumns columns;
    std::string_view header;
    bool decimalCommaSeen = false;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::string_view line = NextLine(text);
        if (IsCommentOrBlank(line))
            continue;
        if (!separator) {
            const Separator candidate = DetectSeparator(line);
            const std::vector<std::string_view> fields = SplitFields(line, candidate);
            const auto resolved
                = ResolveColumns(choice, HeaderFields(header, candidate), fields.size());
            const bool decimalComma = candidate != Separator::Comma;
            if (!resolved || std::max(resolved->frequency, resolved->magnitude) >= fields.size()
                || !SpelledNumber(fields[resolved->frequency], decimalComma)
                || !SpelledNumber(fields[resolved->magnitude], decimalComma)) {
                header = line; // a header line
                continue;
            }
            separator = candidate;
            columns = *resolved;
            parsed.header = header;
        }
        const std::vector<std::string_view> fields = SplitFields(line, *separator);
        std::optional<std::string> error;
        if (*separator != Separator::Comma)
            error = AmbiguousComma(fields, columns, decimalCommaSeen);
        if (!error)
            error = AddPoint(
                parsed, fields, *separator != Separator::Comma, kind, lineNumber, columns);
        if (error) {
            parsed.error = TextError {lineNumber, *error};
            return parsed;
        }
    }
    if (!separator && (!choice.frequency.empty() || !choice.magnitude.empty()))
        parsed.error = TextError {0,
            "no data lines with the columns chosen (" + choice.frequency + ", " + choice.magnitude
                + ") as numbers, or no header row naming them"};
    else if (parsed.points.size() < 2)
        parsed.error = TextError {0,
            parsed.points.empty() ? "no data lines (a frequency and a magnitude per line)"
                                  : "only one data line: a curve needs two frequencies or more"};
    return parsed;
}

CurveKind CurveTextKind(std::string_view extension, std::string_view header)
{
    const std::string lower = Lower(extension);
    if (lower == "zma")
        return CurveKind::Impedance;
    if (lower != "frd" && NamesOneOf(header, {"impedance", "ohm", "ohms"}))
        return CurveKind::Impedance;
    return CurveKind::Response;
}
