#pragma once
// File and directory names are kept as the file system's bytes; on screen they
// are text in the platform's file-name encoding (UTF-8 on Linux).

#include <QString>
#include <string>
#include <string_view>

// The text of a name, a directory or a path for the screen.
QString FileNameText(std::string_view bytes);

// The file system's bytes of a name typed or shown on screen.
std::string FileNameBytes(const QString& text);
