#include "app/qt/Windows.h"

#include "app/qt/TBox.h"
#include "dialogs/qt/TFileBox.h"
#include "output/qt/TPrintOptionsDlg.h"
#include "ui/qt/TMainForm.h"

void CreateWindows()
{
    MainForm = new TMainForm;
    Box = new TBox;
    FileBox = new TFileBox;
    PrintOptionsDlg = new TPrintOptionsDlg;
}
