#pragma once
// The "File Name Selection" box through which every file name is chosen.

#include <QDialog>
#include <stdexcept>
#include <string>

// A directory that cannot be listed.
class InputOutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFileBox : public QDialog {
    Q_OBJECT
public:
    TFileBox();
};

extern TFileBox* FileBox;

// Shows the box for the files of one directory with one extension; returns the
// chosen base name + "." + extension, or "" when nothing was chosen. An empty
// directory means the program's directory. Throws InputOutputError when the
// directory cannot be listed.
std::string SelectFile(const std::string& directory, const std::string& extension,
                       const std::string& cancelCaption, bool readOnlyName);
