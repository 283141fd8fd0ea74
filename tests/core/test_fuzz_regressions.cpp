// Replays the seed corpora and the kept crash inputs of the fuzz targets
// through the same checks the fuzzers run, so every input that once broke a
// reader stays fixed. Under the sanitizer build a buffer overrun or undefined
// behaviour in any of them stops the test.

#include "fuzz/BoxTextChecks.h"
#include "fuzz/CurveTextChecks.h"
#include "fuzz/FileListChecks.h"
#include "fuzz/FileNameChecks.h"
#include "fuzz/InputChecks.h"
#include "fuzz/LimitTextChecks.h"
#include "fuzz/PartialChecks.h"
#include "fuzz/StatsCsvChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

using InputCheck = std::function<std::optional<std::string>(std::span<const unsigned char>)>;

// fuzz/ of the source tree, found from this file's own path.
fs::path FuzzFolder()
{
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz";
}

std::vector<unsigned char> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The inputs of one target: its seeds and its regressions (READMEs excepted).
std::vector<fs::path> InputsOf(const std::string& target)
{
    std::vector<fs::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const fs::path folder = FuzzFolder() / kind / target;
        if (!fs::is_directory(folder))
            continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().filename() != "README")
                inputs.push_back(entry.path());
    }
    return inputs;
}

struct Target {
    const char* name;
    InputCheck check;
};

const std::vector<Target> kTargets {
    {"curve_file", CheckCurveFileInput},
    {"settings_layout", CheckSettingsInput},
    {"file_names", CheckFileNameInput},
    {"box_texts", CheckBoxTextsInput},
    {"curve_text", CheckCurveTextInput},
    {"stats_partial", CheckStatsPartialInput},
    {"limit_text", CheckLimitTextInput},
    {"stats_csv", CheckStatsCsvInput},
    {"file_list", CheckFileListInput},
};

TEST(FuzzRegressions, EverySeedAndKeptInputIsHandledSoundly)
{
    for (const Target& target : kTargets) {
        const std::vector<fs::path> inputs = InputsOf(target.name);
        EXPECT_FALSE(inputs.empty()) << "no seeds for " << target.name;
        for (const fs::path& input : inputs) {
            SCOPED_TRACE(input.string());
            const std::vector<unsigned char> bytes = ReadAll(input);
            EXPECT_EQ(target.check(bytes), std::nullopt);
        }
    }
}

} // namespace
