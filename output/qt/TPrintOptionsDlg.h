#pragma once
// The print options dialog: portrait, landscape or BMP file, black and white,
// and the printer. The choices live in the settings record (PrintLandscape,
// PrintToBmp, PrintBlackWhite) and are stored only by "ok", Enter or Esc;
// closing the dialog through the desktop keeps the settings unchanged.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

class TPrintOptionsDlg : public QDialog
{
    Q_OBJECT
public:
    TPrintOptionsDlg();

    // Sets the controls from the settings; the BMP file choice wins over the
    // orientation.
    void loadControls();
    // Stores the controls into the settings (the BMP file choice leaves
    // PrintLandscape as it was), turns key preview off and closes the dialog.
    void OKBtnClick();
    // The platform's print dialog on the program's printer; its result is not
    // looked at.
    void PrinterBtnClick();
    // Enter and Esc store and close, S opens the print dialog; returns whether
    // the key was taken.
    bool FormKeyDown(int key);
    // While on, the dialog sees every key before its controls do.
    void setKeyPreview(bool on) { m_keyPreview = on; }

    QPushButton* OKBtn;
    QGroupBox* GroupBox4;
    QRadioButton* LandscapeBtn;
    QRadioButton* PortraitBtn;
    QPushButton* PrinterBtn;
    QCheckBox* BlackWhiteBtn;
    QRadioButton* BMPFileBtn;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool m_keyPreview = false;
};

// The one print options dialog; created when first needed.
extern TPrintOptionsDlg* PrintOptionsDlg;
TPrintOptionsDlg& PrintOptionsInstance();

// The menu command: loads the controls from the settings, turns key preview
// on and shows the dialog modally.
void ShowPrintOptions();
