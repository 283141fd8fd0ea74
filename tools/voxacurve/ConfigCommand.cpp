#include "tools/voxacurve/ConfigCommand.h"

#include "app/ConfigFile.h"
#include "app/ConfigLocation.h"
#include "app/ConfigSummary.h"
#include "dialogs/FileNameRules.h"
#include "tools/voxacurve/Arguments.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <sys/stat.h>

namespace
{

// The directory fields a command line may set, and their options.
struct DirectoryOption {
    const char* option;
    const char* words;
    PascalText<255> SettingsRecord::*field;
};
constexpr DirectoryOption kDirectoryOptions[] = {
    {"--curve-directory", "Curve directory", &SettingsRecord::CurveDirectory},
    {"--bmp-directory", "BMP directory", &SettingsRecord::BmpDirectory},
};

// voxacurve stands in the viewer's folder, in an installation as in a build:
// its folder is the viewer's program folder.
std::string programDirectory()
{
    return ProgramDirectoryOf(RunningProgramPath());
}

bool missing(const std::string& path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) != 0 && errno == ENOENT;
}

int showConfig(const ParsedArguments& parsed, std::ostream& out, std::ostream& err)
{
    const std::string program = programDirectory();
    const ConfigLocation location = FindConfigLocation(program);
    SettingsRecord record {};
    if (const LoadOutcome loaded = LoadSettingsFile({"voxacurve"}, location, record); !loaded) {
        err << "voxacurve config: the viewer cannot read its configuration:\n";
        for (const std::string& line : loaded.problem)
            err << "  " << line << '\n';
        return kExitFailed;
    }
    const std::vector<ConfigField> fields = DescribeConfig(
        location, record, {FindDefaultCurveDirectory(program), BmpDirectoryToOffer("", program)});
    out << (parsed.has("--json") ? FormatConfigJson(fields) : FormatConfigText(fields));
    return kExitOk;
}

// The record a change starts from: the file the viewer reads, or where there
// is none yet, a fresh one as "/Init" writes it. A file that is there but
// cannot be read is not replaced.
bool recordToChange(const ConfigLocation& location, SettingsRecord& record, std::ostream& err)
{
    if (ReadConfigFile(location.readPath, record))
        return true;
    if (!missing(location.readPath)) {
        err << "voxacurve config: " << location.readPath << ": "
            << ConfigReadProblem(location.readPath) << "; nothing written\n";
        return false;
    }
    record = SettingsRecord {};
    WriteFreshSettings(record);
    return true;
}

int setDirectories(const ParsedArguments& parsed, std::ostream& out, std::ostream& err)
{
    std::vector<std::pair<const DirectoryOption*, std::string>> changes;
    bool refused = false;
    for (const DirectoryOption& option : kDirectoryOptions) {
        const auto given = parsed.values.find(option.option);
        if (given == parsed.values.end())
            continue;
        const DirectoryFieldText field = DirectoryFieldFor(given->second);
        if (!field.problem.empty()) {
            err << "voxacurve config: " << option.option << " " << given->second << ": "
                << field.problem << '\n';
            refused = true;
        }
        changes.emplace_back(&option, field.text);
    }
    if (refused) {
        err << "voxacurve config: nothing written\n";
        return kExitFailed;
    }
    const ConfigLocation location = FindConfigLocation(programDirectory());
    SettingsRecord record {};
    if (!recordToChange(location, record, err))
        return kExitFailed;
    for (const auto& [option, text] : changes)
        (record.*(option->field)).assign(text);
    if (const SaveOutcome saved = WriteConfigFile(location.savePath, record); !saved) {
        err << "voxacurve config: cannot write " << location.savePath << ": "
            << std::strerror(saved.error) << '\n';
        return kExitFailed;
    }
    for (const auto& [option, text] : changes)
        out << option->words << ": " << (text.empty() ? "(empty)" : text) << '\n';
    out << "Saved to " << location.savePath << '\n';
    return kExitOk;
}

} // namespace

int RunConfig(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const ParsedArguments parsed = ParseArguments(
        args, {{"--json", false}, {"--curve-directory", true}, {"--bmp-directory", true}});
    if (!parsed.files.empty())
        throw UsageError("takes no file names, not \"" + parsed.files.front() + "\"");
    const bool changing
        = parsed.values.contains("--curve-directory") || parsed.values.contains("--bmp-directory");
    if (changing && parsed.has("--json"))
        throw UsageError("--json shows the configuration; it does not go with a directory to set");
    return changing ? setDirectories(parsed, out, err) : showConfig(parsed, out, err);
}
