#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class QPalette;

namespace folivar {

// Draws the file list's cells as the style does, with two additions for
// reading outcomes at the list's narrow widths: a row whose Status is a
// failed outcome ("Error", "Already Exists") stands out in a colour taken
// from the palette, and a cell too narrow for its text shows the whole text
// as its tooltip.
class FileCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit FileCellDelegate(QObject* parent = nullptr);

    // The background of a failed row: the palette's base blended with a
    // warning tone, so the row stands out on light and dark themes alike and
    // the palette's text still reads on it.
    static QColor failedRowColour(const QPalette& palette);

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    // Whether the style shortens the cell's text to fit it into option.rect.
    bool elides(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};

}  // namespace folivar
