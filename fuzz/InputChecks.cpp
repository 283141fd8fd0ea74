#include "fuzz/InputChecks.h"

#include "app/BoxGeometry.h"
#include "app/ConfigFile.h"
#include "app/SettingsRecord.h"
#include "app/Texts.h"
#include "curves/CurveFile.h"
#include "curves/CurveText.h"
#include "curves/CurveTrace.h"
#include "curves/ExampleCurves.h"
#include "curves/FatalErrors.h"
#include "curves/FrequencyGrid.h"
#include "curves/LimitCheck.h"
#include "dialogs/DirectoryListing.h"
#include "dialogs/FileNameRules.h"
#include "plot/AxisLabels.h"
#include "plot/PixelMapping.h"
#include "ui/ColourValue.h"
#include "ui/MainLayout.h"
#include "ui/SerialResistor.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace
{

using Problem = std::optional<std::string>;

// The longest label text: an int64 value with sign, point and padding.
constexpr std::size_t kMaxLabelLength = 24;

// A slot's worth of values, filled as ResetPlot leaves them.
std::vector<float> EmptySlotValues()
{
    return std::vector<float>(kCurveCapacity, EmptyCurveValue);
}

// A fault of a trace must be one the guard has a message for.
Problem CheckFaultHasMessage(FaultKind kind)
{
    const std::vector<std::string> lines = FatalErrorLines(kind);
    if (lines.size() < 2 || lines.front() != "FATAL ERROR")
        return "a fault kind without a fatal-error message";
    return std::nullopt;
}

// A trace is a move-to and line-tos along increasing bins, so at most one
// point per bin of the slot, with columns that never go back to the left.
Problem CheckTrace(const TraceResult& trace, const char* what)
{
    if (trace.points.size() > std::size_t {kCurveCapacity} + 1)
        return std::string(what) + ": more points than the slot has bins";
    for (std::size_t i = 1; i < trace.points.size(); ++i)
        if (trace.points[i].x < trace.points[i - 1].x)
            return std::string(what) + ": a column left of the previous point";
    if (trace.fault)
        return CheckFaultHasMessage(*trace.fault);
    return std::nullopt;
}

// The data window as designed, and the extremes the zoom and a damaged
// configuration can give.
constexpr std::array<TraceFrame, 3> kTraceFrames {{
    {528, 290, 20.0f, 20000.0f},
    {1, 1, kMinViewFreqLow, 40000.0f},
    {32767, 32767, 1000.0f, 1000.5f},
}};
constexpr std::array<AxisScales, 3> kTraceScales {{
    {60, 100, 50, 0},
    {5, INT32_MAX, 1, INT32_MIN},
    {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
}};

Problem CheckBothTraces(const CurveHeader& header, const float* values, const TraceFrame& frame,
    const AxisScales& scales, float serialResistor)
{
    if (Problem p = CheckTrace(ComputeResponseTrace(header, values, frame, scales), "level trace"))
        return p;
    return CheckTrace(
        ComputeImpedanceTrace(header, values, frame, scales, serialResistor), "impedance trace");
}

Problem CheckRefusedCurveFile(const CurveFile& file)
{
    if (file.status != CurveFileStatus::Truncated && file.status != CurveFileStatus::BadHeader)
        return "bytes refused with a status other than Truncated or BadHeader";
    if (!file.values.empty())
        return "a refused file carries values";
    return std::nullopt;
}

Problem CheckAcceptedCurveFile(const CurveFile& file, std::size_t byteCount)
{
    const int32_t n = file.header.TransformLength;
    if (n <= 0 || n % 2 != 0 || n > kMaxTransformLength || file.header.SampleRate <= 0)
        return "a header accepted that the slot cannot hold or the drawing cannot divide by";
    if (file.values.size() != std::size_t(n / 2))
        return "an accepted file without exactly N/2 values";
    if (byteCount < kCurveHeaderBytes + 2 * std::size_t(n))
        return "an accepted file shorter than 20 + 2N bytes";
    return std::nullopt;
}

// Commits the file into a slot as the load does and checks that only the
// first N/2 values changed.
Problem CheckCommit(const CurveFile& file, CurveSlot& slot)
{
    CommitCurveFile(file, slot);
    const std::size_t count = file.values.size();
    if (!std::equal(file.values.begin(), file.values.end(), slot.values,
            [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }))
        return "the slot does not hold the file's values";
    const bool restKept = std::all_of(slot.values + count, slot.values + kCurveCapacity,
        [](float v) { return v == EmptyCurveValue; });
    if (!restKept)
        return "values behind N/2 were overwritten";
    return std::nullopt;
}

// Writes bytes into an anonymous in-memory file and gives its path, so the
// real configuration reader can open it. The descriptor is closed on scope exit.
class MemoryFile
{
public:
    explicit MemoryFile(std::span<const unsigned char> bytes)
        : m_fd(::memfd_create("voxa-input", MFD_CLOEXEC))
    {
        std::size_t done = 0;
        while (m_fd >= 0 && done < bytes.size()) {
            const ssize_t w = ::write(m_fd, bytes.data() + done, bytes.size() - done);
            if (w <= 0) {
                ::close(m_fd);
                m_fd = -1;
                break;
            }
            done += std::size_t(w);
        }
    }
    ~MemoryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool ok() const { return m_fd >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

private:
    int m_fd;
};

// The soft keys as the label painter leaves them after start-up.
MainLayoutInput LayoutInputFor(const SettingsRecord& record)
{
    MainLayoutInput in;
    in.windowWidth = record.WindowWidth; // sign-extended, as the loader applies it
    in.windowHeight = record.WindowHeight;
    const int lefts[9] = {0, 196, 356, 435, 514, 593, 672, 751, 830};
    const int widths[9] = {196, 160, 79, 79, 79, 79, 79, 79, 79};
    for (int i = 0; i < 9; ++i)
        in.softKeys[i] = {lefts[i], 2, widths[i], 20};
    in.escButtonWidth = 79;
    return in;
}

Problem CheckLayout(const MainLayout& l)
{
    if (l.windowWidth < kMinWindowWidth || l.windowHeight < kMinWindowHeight)
        return "a window smaller than 500 x 300";
    const std::array<const Rect*, 14> rects {&l.ESCButton, &l.PrintButton, &l.InfoPanel, &l.Zeit,
        &l.MO, &l.SigWinFrame, &l.DatWinFrame, &l.SigWin, &l.yAchse, &l.yAchseR, &l.xAchse,
        &l.Bevel1, &l.Bevel2, &l.UpButton};
    for (const Rect* r : rects)
        if (r->width < 0 || r->height < 0)
            return "a control with a negative size";
    if (l.bitmapWidth != l.SigWin.width || l.bitmapHeight != l.SigWin.height)
        return "the picture is not the size of SigWin";
    return std::nullopt;
}

Problem CheckLabels(const std::vector<LabelText>& labels, std::size_t maxCount, const char* unit)
{
    if (labels.size() > maxCount)
        return std::string("too many labels on the ") + unit + " strip";
    if (!labels.empty() && labels.back().text != unit)
        return std::string("the ") + unit + " strip does not end with its unit";
    for (const LabelText& label : labels)
        if (label.text.size() > kMaxLabelLength)
            return std::string("an overlong label on the ") + unit + " strip";
    return std::nullopt;
}

Problem CheckAxesAndGrid(const SettingsRecord& record, const MainLayout& l)
{
    const int width = l.bitmapWidth;
    const int height = l.bitmapHeight;
    if (Problem p
        = CheckLabels(LevelAxisLabels(record.LevelRange, record.LevelTop, height), 12, "dBxx"))
        return p;
    if (Problem p = CheckLabels(
            ImpedanceAxisLabels(record.ImpedanceStep, record.ImpedanceBase, height), 9, "Ohm"))
        return p;
    if (ImpedanceAxisLabels(record.ImpedanceStep, record.ImpedanceBase, height).size() != 9)
        return "the impedance strip without its nine labels";
    if (Problem p = CheckLabels(FrequencyAxisLabels(20.0f, 20000.0f, width), 25, "Hz"))
        return p;
    try {
        const FreqMapping mapping = ComputeFreqMapping(20.0f, 20000.0f, width);
        const FrequencyGrid grid
            = ComputeFrequencyGrid(height, record.LevelRange, 20.0f, 20000.0f, mapping);
        if (grid.rows.size() > 11)
            return "more than eleven grid rows";
        for (int y : grid.rows)
            if (y < 0 || y > height)
                return "a grid row outside the data window";
    } catch (const ArithmeticFault& fault) {
        return CheckFaultHasMessage(fault.kind());
    }
    return std::nullopt;
}

// The empty plot that start-up draws with the record's scales and factors.
// A damaged record may make it fault (a level range of 0, say); start-up
// shows such a fault in the top-level error display and goes on, so the
// fault must be one with a message.
Problem CheckEmptyPlotTraces(const SettingsRecord& record, const MainLayout& l)
{
    static const std::vector<float> empty = EmptySlotValues();
    const bool splPerWatt = record.ResponseUnit.str() == "dBSPL/W/m";
    const float levelFactor
        = splPerWatt ? static_cast<float>(50000.0 * record.ReferenceVoltage) : 1.0f;
    const CurveHeader header {levelFactor, 48000, 512, 20000.0f, 20.0f};
    const TraceFrame frame {l.bitmapWidth, l.bitmapHeight, 20.0f, 20000.0f};
    const AxisScales scales = ScalesOf(record);
    const TraceResult startUp = ComputeResponseTrace(header, empty.data(), frame, scales);
    if (Problem p = CheckTrace(startUp, "start-up level trace"))
        return p;
    return CheckTrace(
        ComputeImpedanceTrace(header, empty.data(), frame, scales, record.SerialResistor),
        "start-up impedance trace");
}

Problem CheckMessageBoxPlacement(const MainLayout& l)
{
    BoxGeometryInput in;
    in.titleWidth = 80;
    in.bodyLineWidths = {300, 420};
    in.btn1Shown = true;
    in.mainWindowWidth = l.windowWidth;
    in.sigWinFrameTop = l.SigWinFrame.top;
    in.sigWinHeight = l.SigWin.height;
    const BoxGeometry g = ComputeBoxGeometry(in);
    if (g.width < 50 || g.height <= 0)
        return "a message box without a size";
    return std::nullopt;
}

Problem CheckColours(const SettingsRecord& record)
{
    for (uint32_t c : {record.GridColor, record.SignalColor, record.AxisPanelColor,
             record.PhaseColor, record.DataWindowColor, record.InscriptionColor, record.SpareColor})
        if (!IsSystemColour(c) && Rgb32ToBgr(BgrToRgb32(c)) != (c & 0xFFFFFFu))
            return "a colour that does not convert back";
    return std::nullopt;
}

Problem CheckTexts(const SettingsRecord& record)
{
    const std::array<std::size_t, 5> lengths {record.BmpDirectory.str().size(),
        record.CurveDirectory.str().size(), record.SplashLine1.str().size(),
        record.SplashLine2.str().size(), record.AnalysisWindow.str().size()};
    for (std::size_t n : lengths)
        if (n > kMaxTextLength)
            return "a text longer than its field";
    if (record.DelayCorrection.str().size() > 12 || record.ResponseUnit.str().size() > 14)
        return "a short text longer than its field";
    if (CutText(record.CurveDirectory.str() + "SPEAKER.EA").size() > kMaxTextLength)
        return "a path longer than 255 characters";
    if (ConfigPath(record.SplashLine1.str()) != record.SplashLine1.str() + "VOXA32VW.CFG")
        return "a configuration path that is not the whole folder and the file name";
    const std::string status = SerialResistorStatusText(record.SerialResistor);
    if (!status.starts_with("Serial Resistor: ") || !status.ends_with(" Ohm")
        || status.size() > 17 + 48 + 4)
        return "a malformed serial resistor status text";
    return std::nullopt;
}

Problem CheckRecordFromFile(const SettingsRecord& record, std::span<const unsigned char> bytes)
{
    SettingsRecord scrambled = record;
    ScrambleSettings(scrambled);
    if (std::memcmp(&scrambled, bytes.data(), kSettingsSize) != 0)
        return "the record does not scramble back to the file's first 6808 bytes";
    const MainLayout layout = ComputeMainLayout(LayoutInputFor(record));
    for (Problem p : {CheckLayout(layout), CheckAxesAndGrid(record, layout),
             CheckEmptyPlotTraces(record, layout), CheckMessageBoxPlacement(layout),
             CheckColours(record), CheckTexts(record)})
        if (p)
            return p;
    return std::nullopt;
}

// Little-endian numbers taken from the front of the input, zero past its end.
uint64_t TakeNumber(std::span<const unsigned char> bytes, std::size_t offset, std::size_t width)
{
    uint64_t v = 0;
    for (std::size_t i = 0; i < width && offset + i < bytes.size(); ++i)
        v |= uint64_t {bytes[offset + i]} << (8 * i);
    return v;
}

int TakeInt(std::span<const unsigned char> bytes, std::size_t offset)
{
    return static_cast<int32_t>(static_cast<uint32_t>(TakeNumber(bytes, offset, 4)));
}

Problem CheckChosenName(std::string_view text, std::string_view extension)
{
    const std::string result = SelectFileResult(text, extension);
    // The field holds 255 bytes, cut before a UTF-8 character it would split.
    const std::string cut = CutName(text);
    const std::string_view stem = std::string_view(cut).substr(0, TypedNameEnd(cut));
    const std::string_view lastPart = stem.substr(stem.rfind('/') + 1);
    const bool chosen = !lastPart.empty() && lastPart != "*";
    if (result.empty() == chosen)
        return "a name chosen from an empty or \"*\" field, or none from a name";
    if (!chosen)
        return std::nullopt;
    if (result.size() > kMaxTextLength)
        return "a chosen name longer than 255 characters";
    // A cut through a UTF-8 character moves back to its start: up to 3 bytes
    // of the name may be left out.
    // The name's last part holds no point: the first one after it is the
    // point added before the extension (which may itself hold a '/').
    const std::size_t point
        = std::min(result.find('.', stem.size() - lastPart.size()), result.size());
    const std::string_view name = std::string_view(result).substr(0, point);
    if (!stem.starts_with(name) || stem.size() - name.size() > 3
        || !("." + std::string(extension)).starts_with(result.substr(point)))
        return "a chosen name that is not the field's name with the extension";
    return std::nullopt;
}

Problem CheckMasks(std::string_view text, std::string_view extension)
{
    const std::string mask = ListMask(extension);
    if (mask.size() > kMaxTextLength || !mask.starts_with("*."))
        return "a list mask not of the form \"*.\" + extension";
    MatchesMask(text, mask);
    MatchesMask(text, extension);
    if (!MatchesMask(text, text) || !MatchesMask(text, "*"))
        return "a name that does not match itself or \"*\"";
    return std::nullopt;
}

Problem CheckProgramDirectory(std::string_view path)
{
    const std::string dir = ProgramDirectoryOf(path);
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos ? !dir.empty() : dir != path.substr(0, slash + 1))
        return "a program directory that is not the path up to its last '/'";
    if (IsDirectoryEntry(path) != path.starts_with('['))
        return "a directory entry not told by its leading '['";
    return std::nullopt;
}

Problem CheckFileSizeTexts(uint64_t size, std::string_view groupSeparator)
{
    if (FormatFileSize(size, false, groupSeparator) != std::to_string(size))
        return "a plain file size that is not the decimal number";
    const std::string grouped = FormatFileSize(size, true, groupSeparator);
    const bool separatorHasDigits = std::any_of(
        groupSeparator.begin(), groupSeparator.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (separatorHasDigits)
        return std::nullopt;
    std::string digits;
    std::copy_if(grouped.begin(), grouped.end(), std::back_inserter(digits),
        [](char c) { return c >= '0' && c <= '9'; });
    if (digits != (size == 0 ? std::string() : std::to_string(size)))
        return "a grouped file size whose digits are not the number";
    return std::nullopt;
}

Problem CheckColumnEdges(std::span<const unsigned char> bytes)
{
    auto column = [&](std::size_t at) {
        return ListColumn {(bytes.size() > at && bytes[at] & 1) != 0, TakeInt(bytes, at + 1),
            static_cast<OffsetType>(TakeNumber(bytes, at + 5, 1) % 3), TakeInt(bytes, at + 6)};
    };
    const ListColumn size = column(8), date = column(18), time = column(28);
    const bool glyph = bytes.size() > 38 && (bytes[38] & 1) != 0;
    const ColumnEdges edges = ComputeColumnEdges(TakeInt(bytes, 39), TakeInt(bytes, 43),
        glyph ? std::optional<int>(TakeInt(bytes, 47)) : std::nullopt, size, date, time);
    if (edges.size.has_value() != size.shown || edges.date.has_value() != date.shown
        || edges.time.has_value() != time.shown)
        return "a column edge for a hidden column, or none for a shown one";
    return std::nullopt;
}

// A private directory for the files of one fuzzing process, removed at its end.
const std::filesystem::path& ScratchDirectory()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "voxa-box-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return std::filesystem::path();
        std::atexit([] { std::filesystem::remove_all(ScratchDirectory()); });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

// The zero-separated parts of the input.
std::vector<std::string> SplitAtZeros(std::span<const unsigned char> bytes)
{
    std::vector<std::string> parts(1);
    for (unsigned char c : bytes)
        if (c == 0)
            parts.emplace_back();
        else
            parts.back() += char(c);
    return parts;
}

// Creates the files named by parts[2..] (i bytes for the i-th) in an emptied
// directory and returns each name made with its size.
std::vector<std::pair<std::string, uint64_t>> MakeFiles(
    const std::filesystem::path& dir, const std::vector<std::string>& parts)
{
    constexpr std::size_t kMaxFiles = 8; // enough to sort and match; each costs time
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        std::filesystem::remove_all(entry.path());
    std::vector<std::pair<std::string, uint64_t>> made;
    for (std::size_t i = 2; i < parts.size() && made.size() < kMaxFiles; ++i) {
        std::string name = parts[i].substr(0, 255);
        std::replace(name.begin(), name.end(), '/', '_');
        if (name.empty() || name == "." || name == ".." || std::filesystem::exists(dir / name))
            continue;
        std::ofstream(dir / name, std::ios::binary) << std::string(made.size(), 'x');
        made.emplace_back(name, made.size());
    }
    return made;
}

Problem CheckListing(const std::filesystem::path& dir, std::string_view extension,
    const std::vector<std::pair<std::string, uint64_t>>& made, std::vector<std::string>& listed)
{
    const std::string mask = ListMask(extension);
    listed = ListDirectory(dir.string(), mask, FileTypes::OrdinaryFiles);
    std::set<std::string> expected;
    for (const auto& [name, size] : made)
        if (name[0] != '.' && MatchesMask(name, mask))
            expected.insert(name);
    if (std::set<std::string>(listed.begin(), listed.end()) != expected
        || listed.size() != expected.size())
        return "a listing that is not the matching files of the directory";
    for (const auto& [name, size] : made)
        if (expected.contains(name) && LookUpFile(JoinPath(dir.string(), name)).size != size)
            return "a listed file whose size is not the file's";
    return std::nullopt;
}

// True when text is well-formed UTF-8 (as far as the lead bytes tell).
bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        const std::size_t n = c < 0x80 ? 1
            : (c >> 5) == 6            ? 2
            : (c >> 4) == 14           ? 3
            : (c >> 3) == 30           ? 4
                                       : 0;
        if (n == 0 || i + n > text.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                return false;
        i += n;
    }
    return true;
}

Problem CheckTypedName(
    std::string_view typed, std::string_view extension, const std::vector<std::string>& listed)
{
    const std::string name = SelectFileResult(typed, extension);
    const std::string chosen = ListedNameFor(name, listed);
    if (chosen != name && std::find(listed.begin(), listed.end(), chosen) == listed.end())
        return "a typed name that stands for an unlisted file";
    if (std::find(listed.begin(), listed.end(), name) != listed.end() && chosen != name)
        return "a typed name of a listed file that stands for another";
    const std::string cut = CutName(typed);
    if (cut.size() > kMaxTextLength || !typed.starts_with(cut))
        return "a name cut that is not a prefix of at most 255 bytes";
    if (IsUtf8(typed) && !IsUtf8(cut))
        return "a name cut inside a character";
    return std::nullopt;
}

Problem CheckBoxForLines(const std::vector<std::string>& lines)
{
    constexpr int kPixelsPerByte = 6;
    auto widthOf = [](const std::string& line) {
        return int(std::min<std::size_t>(line.size(), INT_MAX / kPixelsPerByte)) * kPixelsPerByte;
    };
    for (bool twoButtons : {false, true}) {
        BoxGeometryInput in;
        in.titleWidth = widthOf(lines[0]);
        for (std::size_t i = 1; i < lines.size(); ++i)
            in.bodyLineWidths.push_back(widthOf(lines[i]));
        in.btn1Shown = true;
        in.btn2Shown = twoButtons;
        in.mainWindowWidth = 640;
        in.sigWinFrameTop = 68;
        in.sigWinHeight = 290;
        const BoxGeometry g = ComputeBoxGeometry(in);
        if (g.width < 50 || int64_t {g.width} < int64_t {in.titleWidth} + 60)
            return "a message box narrower than its title";
        for (int w : in.bodyLineWidths)
            if (int64_t {g.width} < int64_t {w} + 30)
                return "a message box narrower than a line";
        if (int64_t {g.height} != int64_t(in.bodyLineWidths.size()) * 16 + in.btn1Height + 44)
            return "a message box not as high as its lines and button";
        const int right = twoButtons ? *g.btn2Left + in.btn1Width : g.btn1Left + in.btn1Width;
        if (twoButtons && (g.btn1Left < 0 || right > g.width))
            return "a button outside the message box";
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckCurveFileInput(std::span<const unsigned char> bytes)
{
    const CurveFile file = ParseCurveFile(bytes);
    if (!file.ok())
        return CheckRefusedCurveFile(file);
    if (Problem p = CheckAcceptedCurveFile(file, bytes.size()))
        return p;
    static std::vector<float> values;
    values = EmptySlotValues();
    CurveSlot slot {{}, values.data()};
    if (Problem p = CheckCommit(file, slot))
        return p;
    for (const TraceFrame& frame : kTraceFrames)
        for (const AxisScales& scales : kTraceScales)
            if (Problem p = CheckBothTraces(slot.header, slot.values, frame, scales, 150.0f))
                return p;
    return std::nullopt;
}

std::optional<std::string> CheckSettingsInput(std::span<const unsigned char> bytes)
{
    const MemoryFile memory(bytes);
    if (!memory.ok())
        return "no in-memory file for the configuration";
    SettingsRecord record {};
    const bool read = ReadConfigFile(memory.path(), record);
    if (bytes.size() < kSettingsSize)
        return read ? Problem("a configuration shorter than 6808 bytes was accepted")
                    : std::nullopt;
    if (!read)
        return "a configuration of 6808 bytes or more was refused";
    return CheckRecordFromFile(record, bytes);
}

std::optional<std::string> CheckFileNameInput(std::span<const unsigned char> bytes)
{
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::size_t zero = all.find('\0');
    const std::string_view text = all.substr(0, zero);
    const std::string_view extension
        = zero == std::string_view::npos ? std::string_view() : all.substr(zero + 1);
    for (Problem p :
        {CheckChosenName(text, extension), CheckMasks(text, extension), CheckProgramDirectory(text),
            CheckFileSizeTexts(TakeNumber(bytes, 0, 8), extension), CheckColumnEdges(bytes)})
        if (p)
            return p;
    return std::nullopt;
}

std::optional<std::string> CheckBoxTextsInput(std::span<const unsigned char> bytes)
{
    const std::vector<std::string> parts = SplitAtZeros(bytes);
    const std::string_view extension = parts[0];
    const std::string_view typed = parts.size() > 1 ? std::string_view(parts[1]) : "";
    const std::filesystem::path& dir = ScratchDirectory();
    if (dir.empty())
        return "no temporary directory for the files";
    std::vector<std::string> listed;
    for (Problem p : {CheckListing(dir, extension, MakeFiles(dir, parts), listed),
             CheckTypedName(typed, extension, listed), CheckBoxForLines(parts)})
        if (p)
            return p;
    return std::nullopt;
}

namespace
{

std::optional<std::string> CheckParsedText(const ParsedCurveText& parsed, CurveKind kind)
{
    if (parsed.error)
        return parsed.error->message.empty() || parsed.error->line < 0
            ? std::optional<std::string>("a refusal without words or with a negative line")
            : std::nullopt;
    const std::vector<TextPoint>& points = parsed.points;
    if (points.size() < 2)
        return "a text of fewer than two points accepted";
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TextPoint& p = points[i];
        if (!std::isfinite(p.frequency) || !std::isfinite(p.magnitude) || p.frequency < 0
            || p.line < 1)
            return "a point that is not finite, of negative frequency or without a line";
        if (kind == CurveKind::Impedance && !(p.magnitude > 0))
            return "an impedance not above 0 Ohm accepted";
        if (i > 0 && (p.frequency <= points[i - 1].frequency || p.line <= points[i - 1].line))
            return "points whose frequency or line does not rise";
    }
    return std::nullopt;
}

std::optional<std::string> CheckImportAndLimits(const std::vector<TextPoint>& points)
{
    ImportSettings settings;
    settings.transformLength = 4096;
    const ImportedCurve curve = BuildImportedCurve(points, settings);
    if (!curve.error) {
        const CurveFile file = ParseCurveFile(EncodeCurveFile(curve.header, curve.values));
        if (!file.ok() || CurveRefusal(file, CurveKind::Response))
            return "an imported curve the viewer refuses";
    }
    std::vector<BandPoint> band;
    for (const TextPoint& p : points)
        band.push_back({p.frequency, p.magnitude});
    if (!CheckLimits(band, CurveKind::Response, band, band).passed())
        return "a curve outside limits that are the curve itself";
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckCurveTextInput(std::span<const unsigned char> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    static const ColumnChoice kChoices[] = {{}, {"2", "1"}, {"freq", "db"}, {"1", "3"}};
    const ColumnChoice& choice = kChoices[bytes[0] % std::size(kChoices)];
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + 1, bytes.size() - 1);
    for (const CurveKind kind : {CurveKind::Response, CurveKind::Impedance}) {
        const ParsedCurveText parsed = ParseCurveText(text, kind, choice);
        if (const auto problem = CheckParsedText(parsed, kind))
            return problem;
        if (kind == CurveKind::Response && !parsed.error)
            if (const auto problem = CheckImportAndLimits(parsed.points))
                return problem;
    }
    return std::nullopt;
}
