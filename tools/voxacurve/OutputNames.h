#pragma once
// The files one run of voxacurve writes, so that two inputs of the same name
// (d1/WOOFER.EA and d2/WOOFER.EA, or one name given twice) do not overwrite
// each other's output: the first to claim a file writes it.

#include <filesystem>
#include <set>
#include <string>

class OutputNames
{
public:
    // Whether the file was not yet claimed in this run; claims it.
    bool claim(const std::string& target);

private:
    std::set<std::filesystem::path> m_claimed;
};

// Why a file whose output another file of the run claimed is not written.
std::string ClaimedByAnother(const std::string& target);
