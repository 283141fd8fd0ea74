#pragma once
// Helpers shared by the file box tests: files made in a directory and the
// texts a list shows.

#include "dialogs/DirectoryListing.h"

#include <QListWidget>
#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

inline void writeFile(const std::string& directory, const std::string& name, std::size_t bytes = 0)
{
    std::ofstream(JoinPath(directory, name), std::ios::binary) << std::string(bytes, 'x');
}

inline std::vector<std::string> itemTexts(const QListWidget& list)
{
    std::vector<std::string> texts;
    for (int row = 0; row < list.count(); ++row)
        texts.push_back(list.item(row)->text().toStdString());
    return texts;
}
