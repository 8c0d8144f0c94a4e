#include "app/FileCellDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPalette>
#include <QStyle>
#include <QToolTip>

#include "app/FileListModel.h"

namespace folivar {

namespace {

// A red that reads as "something went wrong" on any base.
const QColor kWarningTone(224, 64, 32);
constexpr qreal kWarningShare = 0.35;

QColor blend(const QColor& base, const QColor& tone, qreal share) {
    const auto mix = [share](qreal from, qreal to) { return from + (to - from) * share; };
    return QColor::fromRgbF(static_cast<float>(mix(base.redF(), tone.redF())),
                            static_cast<float>(mix(base.greenF(), tone.greenF())),
                            static_cast<float>(mix(base.blueF(), tone.blueF())));
}

bool failedRow(const QModelIndex& index) {
    return index.data(FileListModel::FailedRole).toBool();
}

}  // namespace

FileCellDelegate::FileCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QColor FileCellDelegate::failedRowColour(const QPalette& palette) {
    return blend(palette.color(QPalette::Active, QPalette::Base), kWarningTone, kWarningShare);
}

void FileCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!failedRow(index)) {
        return;
    }
    option->backgroundBrush = failedRowColour(option->palette);
    // Selected, the row keeps a trace of its mark: all rows selected at once
    // still show which failed.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        option->palette.setColor(
            group, QPalette::Highlight,
            blend(option->palette.color(group, QPalette::Highlight), kWarningTone, kWarningShare));
    }
}

bool FileCellDelegate::elides(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (cell.text.isEmpty()) {
        return false;
    }
    // As the style lays the text out: inside the text rectangle, less a
    // margin on either side.
    const QWidget* widget = cell.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget);
    return QFontMetricsF(cell.font).horizontalAdvance(cell.text) > textRect.width() - 2 * margin;
}

bool FileCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    // option.rect is the cell as the view draws it, less the grid line.
    if (index.isValid() && elides(option, index)) {
        QToolTip::showText(event->globalPos(), index.data().toString(), view->viewport(),
                           option.rect);
    } else {
        QToolTip::hideText();
    }
    return true;
}

}  // namespace folivar
