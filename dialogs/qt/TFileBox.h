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

    // The name the box was left with. A listed file chosen in the list (the
    // edit field still shows the selected item) is that file's name exactly.
    // A typed name is cut at its first point and takes the extension; in a box
    // for an existing file it stands for the listed file that it names.
    std::string chosenName(const std::string& extension, bool existingFile) const;

    QLineEdit* FileEdit;
    TExtFileListBox* FileListBox1;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The one file box; created when first needed (no command opens it at start).
extern TFileBox* FileBox;
TFileBox& FileBoxInstance();

// Shows the box for the files of one directory with one extension (without
// the point) and returns the chosen file name, or "" when nothing was chosen
// (cancel, Esc, the untouched "*.EXT", an emptied field). A file chosen in the
// list gives its name exactly as listed (such as "a.v2.ea"); a typed name
// gives the typed base name + "." + extension (a typed extension is replaced).
// readOnlyName asks for an existing file: a typed name then stands for the
// listed file it names without regard to case. The edit field takes typing in
// both cases. An empty directory means the program's directory. Afterwards
// the listed directory is the process's current directory. Throws
// InputOutputError, before the box is shown, when the directory cannot be
// entered or listed. Texts are cut at 255 bytes.
std::string SelectFile(const std::string& directory, const std::string& extension,
    const std::string& cancelCaption, bool readOnlyName);
