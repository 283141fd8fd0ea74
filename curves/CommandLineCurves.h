#pragma once
// The curve files the viewer opens from its command line.

#include <string>
#include <vector>

// The arguments after the program's name that name an existing regular file
// (links followed) whose extension is a curve kind's (EA, EE, AE, AA or OHM,
// in any case), in the order given, as whole paths: a relative name is taken
// from currentDirectory. Switches such as "/Init" and "/:" and every other
// argument are left out.
std::vector<std::string> CurveFilesOnCommandLine(
    const std::vector<std::string>& args, const std::string& currentDirectory);

// The folder part of a whole path, up to and including its last '/'.
std::string FolderOf(const std::string& path);
