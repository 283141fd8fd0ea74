#include "dialogs/qt/TFileBox.h"

TFileBox* FileBox = nullptr;

TFileBox::TFileBox() {}

std::string SelectFile(const std::string&, const std::string&, const std::string&, bool)
{
    return {};
}
