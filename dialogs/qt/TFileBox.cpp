#include "dialogs/qt/TFileBox.h"

#include "app/ProgramContext.h"
#include "app/Texts.h"
#include "app/qt/FileNames.h"
#include "dialogs/FileNameRules.h"
#include "ui/qt/WindowSystem.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TFileBox* FileBox = nullptr;

TFileBox& FileBoxInstance()
{
    if (!FileBox)
        FileBox = new TFileBox;
    return *FileBox;
}

namespace
{

// The most characters the user may type into the edit field.
constexpr int kFileEditMaxLength = 24;

QPushButton* SpeedButton(
    QWidget* parent, const char* name, const QRect& geometry, const char* caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFileBox::TFileBox()
{
    setObjectName("FileBox");
    setWindowTitle("File Name Selection");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QFont font("MS Sans Serif");
    font.setPixelSize(11); // 8 points
    font.setBold(true);
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::ButtonText, Qt::black);
    setPalette(colours);
    setFixedSize(360, 213);

    FileEdit = new QLineEdit(this);
    FileEdit->setObjectName("FileEdit");
    FileEdit->setGeometry(12, 11, 149, 21);
    FileEdit->setMaxLength(kFileEditMaxLength);
    FileEdit->setText("*.*");

    FileListBox1 = new TExtFileListBox(this);
    FileListBox1->setObjectName("FileListBox1");
    FileListBox1->setGeometry(12, 42, 341, 163);
    FileListBox1->setItemHeight(13);
    FileListBox1->setSizePos(45);
    FileListBox1->setFileEdit(FileEdit);

    SpeedButton1 = SpeedButton(this, "SpeedButton1", QRect(180, 10, 77, 22), "ok");
    SpeedButton2 = SpeedButton(this, "SpeedButton2", QRect(276, 10, 77, 22), "None");

    connect(SpeedButton1, &QPushButton::clicked, this, &TFileBox::OKButtonClick);
    connect(SpeedButton2, &QPushButton::clicked, this, &TFileBox::AbortBtnClick);
    connect(FileListBox1, &QListWidget::itemDoubleClicked, this, &TFileBox::OKButtonClick);
    FileEdit->installEventFilter(this);
    FileListBox1->installEventFilter(this);
    setTabOrder(FileEdit, FileListBox1);
    CentreTopLevel(this);
}

void TFileBox::OKButtonClick()
{
    accept();
}

void TFileBox::AbortBtnClick()
{
    reject();
}

void TFileBox::reject()
{
    FileEdit->clear();
    QDialog::reject();
}

std::string TFileBox::chosenName(const std::string& extension, bool existingFile) const
{
    const std::optional<std::string> selected = FileListBox1->selectedName();
    if (selected && FileEdit->text() == FileNameText(*selected))
        return *selected;
    const std::string typed = SelectFileResult(FileNameBytes(FileEdit->text()), extension);
    if (existingFile && !typed.empty())
        return ListedNameFor(typed, FileListBox1->listedNames());
    return typed;
}

bool TFileBox::FileListBox1KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        AbortBtnClick();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OKButtonClick();
        return true;
    default:
        return false;
    }
}

void TFileBox::keyPressEvent(QKeyEvent* event)
{
    if (!FileListBox1KeyDown(event->key()))
        QDialog::keyPressEvent(event);
}

bool TFileBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && FileListBox1KeyDown(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

std::string SelectFile(const std::string& directory, const std::string& extension,
    const std::string& cancelCaption, bool readOnlyName)
{
    TFileBox& box = FileBoxInstance();
    box.SpeedButton2->setText(FileNameText(CutText(cancelCaption)));
    box.FileListBox1->clear();
    const std::string listed
        = directory.empty() ? FindDefaultCurveDirectory(ProgramDir) : CutText(directory);
    const std::string mask = ListMask(CutText(extension));
    box.FileEdit->setMaxLength(kFileEditMaxLength);
    SetWholeText(box.FileEdit, FileNameText(mask));
    box.FileListBox1->setDirectory(listed);
    box.FileListBox1->setMask(mask);
    box.FileListBox1->reread();
    // The mask stays selected: the first key the user types replaces it.
    box.FileEdit->selectAll();
    box.FileEdit->setFocus();
    box.exec();
    return box.chosenName(CutText(extension), readOnlyName);
}
