#pragma once
// A file list of one directory and one mask, tied to an edit field, with
// right-aligned size, date and time columns drawn beside each name.

#include "dialogs/DirectoryListing.h"
#include "dialogs/FileNameRules.h"

#include <QDateTime>
#include <QListWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;

// Widths in pixels measured in the list's current font.
struct ColumnWidths {
    int name = 0; // "XXXXXXXX.XXX"
    int size = 0; // "888,888,888" with the separator, "888888888" without
    int date = 0; // today in the short date format
    int time = 0; // now in the long time format
};

// What one item shows right of its name: the right edges of the shown
// columns and their texts. The texts are empty for a directory entry and for
// a hidden column.
struct ItemColumns {
    ColumnEdges edges;
    QString size;
    QString date;
    QString time;
};

// The local date-time of a last-write stamp in seconds since 1970 (UTC); the
// zero date-time (1899-12-30 00:00) when there is none or it falls outside
// the years 1 to 9999.
QDateTime ListedDateTime(std::optional<std::int64_t> modifiedSeconds);

// Sets an edit field's text whole, raising its maximum length when the text is
// longer: Qt would cut the text, but the maximum only limits what the user
// types (a long listed name must reach the caller whole).
void SetWholeText(QLineEdit* edit, const QString& text);

class TExtFileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TExtFileListBox(QWidget* parent = nullptr);

    // The edit field that receives the selected item's text, or the mask when
    // nothing is selected, whenever the selection changes.
    void setFileEdit(QLineEdit* edit);

    // Directory and mask take effect at the next reread(). After a re-read the
    // directory is the absolute path of the listed directory.
    const std::string& Directory() const { return m_directory; }
    void setDirectory(const std::string& directory) { m_directory = directory; }
    const std::string& Mask() const { return m_mask; }
    void setMask(const std::string& mask) { m_mask = mask; }

    // Makes the directory the process's current directory and lists its
    // entries that match the mask, sorted by name, then repaints. Throws
    // InputOutputError (list left empty) when the directory cannot be entered
    // or read. Does nothing while no directory has been set.
    void reread();

    // The file system's names of the listed items, in the list's order.
    std::vector<std::string> listedNames() const;
    // The file system's name of the selected item; empty when none is.
    std::optional<std::string> selectedName() const;

    // The item height in pixels.
    int itemHeight() const { return m_itemHeight; }
    void setItemHeight(int pixels);

    // Each setter re-reads the list and repaints when the value changes, and
    // does nothing when it is set to the value it has.
    FileTypes FileType() const { return m_fileType; }
    void setFileType(FileTypes types);
    bool ShowSize() const { return m_size.shown; }
    void setShowSize(bool shown);
    bool ShowDate() const { return m_date.shown; }
    void setShowDate(bool shown);
    bool ShowTime() const { return m_time.shown; }
    void setShowTime(bool shown);
    int SizePos() const { return m_size.pos; }
    void setSizePos(int pixels);
    int DatePos() const { return m_date.pos; }
    void setDatePos(int pixels);
    int TimePos() const { return m_time.pos; }
    void setTimePos(int pixels);
    bool Separator() const { return m_separator; }
    void setSeparator(bool grouped);
    OffsetType SizeOffset() const { return m_size.offset; }
    void setSizeOffset(OffsetType offset);
    OffsetType DateOffset() const { return m_date.offset; }
    void setDateOffset(OffsetType offset);
    OffsetType TimeOffset() const { return m_time.offset; }
    void setTimeOffset(OffsetType offset);

    // The column widths measured in the current font, today and now.
    ColumnWidths columnWidths() const;
    // The columns of item row drawn with its left edge at itemLeft: measured,
    // looked up in the file system and formatted anew at every call.
    ItemColumns itemColumns(int row, int itemLeft) const;

private:
    // The file system's name of a listed item.
    const std::string& nameOf(const QListWidgetItem& entry) const;
    template <typename T> void changeAndReread(T& field, T value);
    void updateFileEdit();
    // The file's size, date and time texts for the shown columns.
    void formatColumnTexts(const std::string& itemName, ItemColumns& columns) const;

    QLineEdit* m_fileEdit = nullptr;
    // The file system's names of the items, in the list's order (the items
    // show them through the file-name codec).
    std::vector<std::string> m_names;
    std::string m_directory;
    std::string m_mask = "*.*";
    FileTypes m_fileType = FileTypes::OrdinaryFiles;
    int m_itemHeight = 16;
    bool m_separator = true;
    ListColumn m_size {true, 0, OffsetType::Relative, 0};
    ListColumn m_date {true, 5, OffsetType::Relative, 0};
    ListColumn m_time {true, 5, OffsetType::Relative, 0};
};
