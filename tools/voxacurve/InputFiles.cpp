#include "tools/voxacurve/InputFiles.h"

#include "curves/ArchiveFiles.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

std::vector<KnownOption> WithFileListOptions(std::vector<KnownOption> known)
{
    known.push_back({"--files-from", true});
    known.push_back({"-0", false});
    return known;
}

int ExpandInputFiles(ParsedArguments& parsed, std::istream& in, std::ostream& err)
{
    std::vector<std::string> names = parsed.files;
    int problems = 0;
    const auto listOption = parsed.values.find("--files-from");
    if (listOption == parsed.values.end()) {
        if (parsed.has("-0"))
            throw UsageError("-0 reads the names of --files-from; give --files-from FILE or -");
    } else {
        const std::string& list = listOption->second;
        std::string text;
        if (list == "-") {
            text.assign(std::istreambuf_iterator<char>(in), {});
        } else {
            std::error_code error;
            std::ifstream file(list, std::ios::binary);
            if (file && !std::filesystem::is_directory(list, error))
                text.assign(std::istreambuf_iterator<char>(file), {});
            else {
                err << "voxacurve: " << list << ": the file list cannot be read\n";
                ++problems;
            }
        }
        if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")
            || (!parsed.has("-0") && text.find('\0') != std::string::npos)) {
            err << "voxacurve: " << list
                << ": the file list is UTF-16 text (or holds NUL bytes without -0); write it as "
                   "UTF-8, one name a line\n";
            ++problems;
            text.clear();
        }
        for (std::string& name : SplitFileList(text, parsed.has("-0")))
            names.push_back(std::move(name));
    }
    ArchiveFiles expanded = ExpandCurveNames(names);
    for (const std::string& problem : expanded.problems)
        err << "voxacurve: " << problem << '\n';
    parsed.files = std::move(expanded.files);
    return problems + static_cast<int>(expanded.problems.size());
}
