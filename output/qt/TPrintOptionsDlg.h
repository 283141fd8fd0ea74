#pragma once
// The print options dialog: portrait, landscape or BMP file, black and white,
// and the printer.

#include <QDialog>

class TPrintOptionsDlg : public QDialog {
    Q_OBJECT
public:
    TPrintOptionsDlg();
};

extern TPrintOptionsDlg* PrintOptionsDlg;
