#include "app/qt/Windows.h"

#include "app/qt/TBox.h"
#include "ui/qt/TMainForm.h"

void CreateWindows()
{
    MainForm = new TMainForm;
    Box = new TBox;
}
