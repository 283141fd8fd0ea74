#pragma once
// The "File Name Selection" box through which every file name is chosen: an
// edit field for the name, "ok" and a cancel button, and the list of the
// directory's files with one extension.

#include "dialogs/DirectoryListing.h" // InputOutputError
#include "dialogs/qt/TExtFileListBox.h"

#include <QDialog>
#include <QLineEdit> // the controls are public: callers and tests reach into them
#include <QPushButton>
#include <string>

class TFileBox : public QDialog
{
    Q_OBJECT
public:
    TFileBox();

    // Closes the box; the edit field's text is the answer.
    void OKButtonClick();
    // Empties the edit field and closes the box.
    void AbortBtnClick();
    // Esc acts as the cancel button and Enter closes the box; returns whether
    // the key was one of these (other keys do what the control does with them).
    bool FileListBox1KeyDown(int key);

    // A close request of the desktop cancels, as the cancel button does.
    void reject() override;

    QLineEdit* FileEdit;
    TExtFileListBox* FileListBox1;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TFileBox* FileBox;

// Shows the box for the files of one directory with one extension (without
// the point) and returns the chosen base name + "." + extension, or "" when
// nothing was chosen (cancel, Esc, the untouched "*.EXT", an emptied field).
// A typed extension is replaced by the given one. An empty directory means
// the program's directory. Afterwards the listed directory is the process's
// current directory. Throws InputOutputError, before the box is shown, when
// the directory cannot be entered or listed. Texts are cut at 255 characters.
std::string SelectFile(const std::string& directory, const std::string& extension,
    const std::string& cancelCaption, bool readOnlyName);
