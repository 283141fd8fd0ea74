#include "fuzz/InputChecks.h"

#include "app/BoxGeometry.h"
#include "app/ConfigFile.h"
#include "app/SettingsRecord.h"
#include "app/Texts.h"
#include "curves/CurveFile.h"
#include "curves/CurveTrace.h"
#include "curves/FatalErrors.h"
#include "curves/FrequencyGrid.h"
#include "plot/AxisLabels.h"
#include "plot/PixelMapping.h"
#include "ui/ColourValue.h"
#include "ui/MainLayout.h"
#include "ui/SerialResistor.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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
