// voxacurve: the curve files of the viewer from a terminal, without a window.
//
//   voxacurve info FILE...      what each file holds, or why the viewer refuses it
//                               (FRD, ZMA, CSV and TXT curve texts read as import reads them)
//   voxacurve export FILE...    FRD, ZMA or CSV text for loudspeaker design tools,
//                               or one SQLite database of them all
//   voxacurve import FILE -o OUT.EA    a curve file from such a text
//   voxacurve render FILE... -o OUT.png   the viewer's picture of the curves
//   voxacurve stats FILE|DIR...   statistics of many curves per frequency
//   voxacurve check FILE|DIR... --upper U --lower L   each curve within its limits?
//   voxacurve limits STATS.csv --sigma K -o DIR   upper and lower limits of a golden batch
//   voxacurve config [--json]   the configuration the viewer beside voxacurve reads
//   voxacurve config --curve-directory DIR --bmp-directory DIR   sets the viewer's folders
//   voxacurve --version         the version of the viewer and of voxacurve
//   voxacurve thumbnail FILE OUT.png SIZE   a file manager's square picture of a curve
//
// Exit codes: 0 all went well, 1 a file was refused, unreadable or not
// written, 2 a wrong command line.

#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/CheckCommand.h"
#include "tools/voxacurve/Commands.h"
#include "tools/voxacurve/ConfigCommand.h"
#include "tools/voxacurve/LimitsCommand.h"
#include "tools/voxacurve/RenderCommand.h"
#include "tools/voxacurve/StatsCommand.h"
#include "tools/voxacurve/ThumbnailCommand.h"

#include <iostream>
#include <string>
#include <vector>

namespace
{

struct Command {
    const char* name;
    const char* usage; // the arguments after the name
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

constexpr Command kCommands[] = {
    {"info",
        "FILE|DIR... [--files-from LIST [-0]] [--json] [--serial-resistor R] [--rate HZ] "
        "[--length N] [--columns F,M]",
        RunInfo},
    {"export",
        "FILE|DIR... [--files-from LIST [-0]] [--format frd|zma|csv] [--ppo N] [-o DIR | -o -] "
        "[--serial-resistor R] [--smooth 1/N]\n"
        "  voxacurve export FILE|DIR... --format sqlite -o DB [--append] [--ppo N|0] [--smooth "
        "1/N] [--serial-resistor R]",
        RunExport},
    {"import",
        "FILE -o OUT.EE|EA|AE|AA|OHM [--rate HZ] [--length N] [--columns F,M] [--serial-resistor "
        "R]",
        RunImport},
    {"render",
        "FILE|DIR... [--files-from LIST [-0]] -o OUT.png|.svg|.pdf [--size WxH] [--from HZ --to "
        "HZ] [--level-top DB] "
        "[--level-range DB] [--impedance-step OHM] [--impedance-base OHM] [--serial-resistor R] "
        "[--colours default|print] [--legend] [--band STATS.csv] [--rate HZ] [--length N] "
        "[--columns F,M] [--smooth 1/N]\n"
        "  voxacurve render --each FILE|DIR... -o DIR [--format png|svg|pdf] [the options above]",
        RunRender},
    {"stats",
        "FILE|DIR... [--files-from LIST [-0]] [--ppo N] [--percentiles P,P,...] "
        "[--kind response|impedance] [-o OUT.csv | -o - | -o DIR [--format frd|zma|csv]] "
        "[--serial-resistor R] [--smooth 1/N]\n"
        "  voxacurve stats FILE|DIR... [--files-from LIST [-0]] --partial -o PART [--ppo N] "
        "[--kind K] [--serial-resistor R] [--smooth 1/N]\n"
        "  voxacurve stats --merge PART... [--ppo N] [--percentiles P,...] [-o OUT.csv | -o - | -o "
        "DIR [--format frd|zma|csv]]",
        RunStats},
    {"check",
        "FILE|DIR... [--files-from LIST [-0]] --upper U --lower L "
        "[--offset-to HZ | --offset-band LO:HI] [--json] [--serial-resistor R] [--smooth 1/N]",
        RunCheck},
    {"limits", "STATS.csv (--sigma K | --percentiles LO,HI) [--widen DB] -o DIR", RunLimits},
    {"config", "[--json]\n  voxacurve config [--curve-directory DIR] [--bmp-directory DIR]",
        RunConfig},
    {"thumbnail", "FILE OUT.png SIZE", RunThumbnail},
};

void PrintUsage(std::ostream& out)
{
    out << "usage:\n";
    for (const Command& command : kCommands)
        out << "  voxacurve " << command.name << ' ' << command.usage << '\n';
    out << "  voxacurve --version\n";
}

// Flushes the standard output; false (and said on stderr) when its bytes
// could not all be written, as on a full disk.
bool StandardOutputWritten()
{
    if (std::cout.flush())
        return true;
    std::cerr << "voxacurve: cannot write to the standard output\n";
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintUsage(std::cout);
        return StandardOutputWritten() ? kExitOk : kExitFailed;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "voxacurve " << VOXA_VERSION << " (VOXA 32 Curve Viewer)\n";
        return StandardOutputWritten() ? kExitOk : kExitFailed;
    }
    for (const Command& command : kCommands) {
        if (args.empty() || args[0] != command.name)
            continue;
        try {
            const int exitCode = command.run({args.begin() + 1, args.end()}, std::cout, std::cerr);
            return StandardOutputWritten() ? exitCode : kExitFailed;
        } catch (const UsageError& error) {
            std::cerr << "voxacurve " << command.name << ": " << error.what() << '\n';
            std::cerr << "usage: voxacurve " << command.name << ' ' << command.usage << '\n';
            return kExitUsage;
        }
    }
    if (!args.empty())
        std::cerr << "voxacurve: unknown command \"" << args[0] << "\"\n";
    PrintUsage(std::cerr);
    return kExitUsage;
}
