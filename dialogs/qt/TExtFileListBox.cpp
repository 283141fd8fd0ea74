#include "dialogs/qt/TExtFileListBox.h"

#include "app/qt/FileNames.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QStyledItemDelegate>

namespace
{

// The file system's bytes of an item's text, kept beside the shown text so
// that names which are no valid local text still find their file.

// The long time format may name the time zone, which only a date-time knows.
QString LongTimeText(const QLocale& locale, const QDateTime& stamp)
{
    return locale.toString(stamp, locale.timeFormat(QLocale::LongFormat));
}

// Draws each item itself: the name 2 pixels right of the item's left edge on
// a cleared background, then the size, date and time texts ending at their
// column edges.
class FileItemDelegate : public QStyledItemDelegate
{
public:
    explicit FileItemDelegate(TExtFileListBox* list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int nameWidth = option.fontMetrics.horizontalAdvance(index.data().toString());
        return {nameWidth + 2, m_list->itemHeight()};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const QFontMetrics metrics(option.font);
        const int baseline = r.top() + metrics.ascent();
        painter->drawText(r.left() + 2, baseline, index.data().toString());

        const ItemColumns columns = m_list->itemColumns(index.row(), r.left());
        const auto drawRightAligned = [&](const std::optional<int>& edge, const QString& text) {
            if (edge && !text.isEmpty())
                painter->drawText(*edge - metrics.horizontalAdvance(text), baseline, text);
        };
        drawRightAligned(columns.edges.size, columns.size);
        drawRightAligned(columns.edges.date, columns.date);
        drawRightAligned(columns.edges.time, columns.time);
        painter->restore();

        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor
                = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
            m_list->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, m_list);
        }
    }

private:
    TExtFileListBox* m_list;
};

} // namespace

QDateTime ListedDateTime(std::optional<std::int64_t> modifiedSeconds)
{
    static const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0));
    if (!modifiedSeconds)
        return zero;
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(*modifiedSeconds);
    if (!stamp.isValid() || stamp.date().year() < 1 || stamp.date().year() > 9999)
        return zero;
    return stamp;
}

void SetWholeText(QLineEdit* edit, const QString& text)
{
    if (text.size() > edit->maxLength())
        edit->setMaxLength(static_cast<int>(text.size()));
    edit->setText(text);
}

TExtFileListBox::TExtFileListBox(QWidget* parent)
    : QListWidget(parent)
{
    setItemDelegate(new FileItemDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListWidget::itemSelectionChanged, this, &TExtFileListBox::updateFileEdit);
}

void TExtFileListBox::setFileEdit(QLineEdit* edit)
{
    m_fileEdit = edit;
}

void TExtFileListBox::updateFileEdit()
{
    if (!m_fileEdit)
        return;
    const QList<QListWidgetItem*> selected = selectedItems();
    SetWholeText(m_fileEdit, selected.isEmpty() ? FileNameText(m_mask) : selected.first()->text());
}

void TExtFileListBox::reread()
{
    clear();
    m_names.clear();
    if (m_directory.empty()) {
        viewport()->update();
        return;
    }
    m_directory = EnterDirectory(m_directory);
    m_names = ListDirectory(m_directory, m_mask, m_fileType);
    // All items in one insertion: one at a time, the view lays itself out
    // for every item, which grows with the square of a large folder.
    QStringList texts;
    texts.reserve(qsizetype(m_names.size()));
    for (const std::string& name : m_names)
        texts.append(FileNameText(name));
    addItems(texts);
    viewport()->update();
}

std::vector<std::string> TExtFileListBox::listedNames() const
{
    // Items cleared without a re-read are no longer listed.
    return {m_names.begin(), m_names.begin() + std::min<std::ptrdiff_t>(count(), m_names.size())};
}

std::optional<std::string> TExtFileListBox::selectedName() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return nameOf(*selected.first());
}

const std::string& TExtFileListBox::nameOf(const QListWidgetItem& entry) const
{
    return m_names.at(std::size_t(row(&entry)));
}

void TExtFileListBox::setItemHeight(int pixels)
{
    m_itemHeight = pixels;
    // The view asks the delegate again for the uniform item size.
    doItemsLayout();
}

template <typename T> void TExtFileListBox::changeAndReread(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    reread();
}

void TExtFileListBox::setFileType(FileTypes types)
{
    changeAndReread(m_fileType, types);
}
void TExtFileListBox::setShowSize(bool shown)
{
    changeAndReread(m_size.shown, shown);
}
void TExtFileListBox::setShowDate(bool shown)
{
    changeAndReread(m_date.shown, shown);
}
void TExtFileListBox::setShowTime(bool shown)
{
    changeAndReread(m_time.shown, shown);
}
void TExtFileListBox::setSizePos(int pixels)
{
    changeAndReread(m_size.pos, pixels);
}
void TExtFileListBox::setDatePos(int pixels)
{
    changeAndReread(m_date.pos, pixels);
}
void TExtFileListBox::setTimePos(int pixels)
{
    changeAndReread(m_time.pos, pixels);
}
void TExtFileListBox::setSeparator(bool grouped)
{
    changeAndReread(m_separator, grouped);
}
void TExtFileListBox::setSizeOffset(OffsetType offset)
{
    changeAndReread(m_size.offset, offset);
}
void TExtFileListBox::setDateOffset(OffsetType offset)
{
    changeAndReread(m_date.offset, offset);
}
void TExtFileListBox::setTimeOffset(OffsetType offset)
{
    changeAndReread(m_time.offset, offset);
}

ColumnWidths TExtFileListBox::columnWidths() const
{
    const QFontMetrics metrics(font());
    const QLocale locale = QLocale::system();
    const auto width = [&](const QString& text) { return metrics.horizontalAdvance(text); };
    const auto asciiText = [](std::string_view sample) {
        return QString::fromLatin1(sample.data(), static_cast<qsizetype>(sample.size()));
    };
    return {
        width(asciiText(kNameColumnSample)),
        width(asciiText(SizeColumnSample(m_separator))),
        width(locale.toString(QDate::currentDate(), QLocale::ShortFormat)),
        width(LongTimeText(locale, QDateTime::currentDateTime())),
    };
}

ItemColumns TExtFileListBox::itemColumns(int row, int itemLeft) const
{
    const ColumnWidths widths = columnWidths();
    ListColumn size = m_size, date = m_date, time = m_time;
    size.width = widths.size;
    date.width = widths.date;
    time.width = widths.time;

    ItemColumns columns;
    columns.edges = ComputeColumnEdges(itemLeft, widths.name, std::nullopt, size, date, time);
    const QListWidgetItem* entry = item(row);
    if (!entry)
        return columns;
    const std::string name = nameOf(*entry);
    if (!IsDirectoryEntry(name))
        formatColumnTexts(name, columns);
    return columns;
}

void TExtFileListBox::formatColumnTexts(const std::string& itemName, ItemColumns& columns) const
{
    const FileDetails details = LookUpFile(JoinPath(m_directory, itemName));
    const QDateTime stamp = ListedDateTime(details.modifiedSeconds);
    const QLocale locale = QLocale::system();
    if (m_size.shown)
        // Grouped by the pattern's comma on every desktop: the program writes its
        // numbers with a decimal point, so a "." between digits would read as one.
        columns.size = QString::fromStdString(FormatFileSize(details.size, m_separator, ","));
    if (m_date.shown)
        columns.date = locale.toString(stamp.date(), QLocale::ShortFormat);
    if (m_time.shown)
        columns.time = LongTimeText(locale, stamp);
}
