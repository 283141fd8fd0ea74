#include "curves/CommandLineCurves.h"

#include "curves/CurveInfo.h"
#include "dialogs/DirectoryListing.h"

#include <filesystem>
#include <system_error>

namespace
{

bool isRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::vector<std::string> CurveFilesOnCommandLine(
    const std::vector<std::string>& args, const std::string& currentDirectory)
{
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string path = JoinPath(currentDirectory, args[i]);
        if (!args[i].empty() && CurveKindOfName(path) && isRegularFile(path))
            files.push_back(path);
    }
    return files;
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/') + 1);
}
