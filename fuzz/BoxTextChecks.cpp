#include "fuzz/BoxTextChecks.h"

#include "app/BoxGeometry.h"
#include "app/Texts.h"
#include "dialogs/DirectoryListing.h"
#include "dialogs/FileNameRules.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>
#include <vector>

namespace
{

using Problem = std::optional<std::string>;

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
