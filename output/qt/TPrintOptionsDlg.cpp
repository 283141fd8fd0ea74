#include "output/qt/TPrintOptionsDlg.h"

TPrintOptionsDlg* PrintOptionsDlg = nullptr;

TPrintOptionsDlg::TPrintOptionsDlg() {}
