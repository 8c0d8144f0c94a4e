#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <vector>

#include "WindowFixture.h"
#include "app/FileCellDelegate.h"

using folivar::fcFileName;
using folivar::fcPath;
using folivar::fcStatus;
using folivar::fcType;
using folivar::FileCellDelegate;
using folivar::FileRow;
using folivar::test::WindowFixture;

namespace {

const QString kLongPath = "/home/someone/Pictures/Holidays/2023 Summer by the sea/";

// Rows with every outcome a run writes, one of them in a long folder.
std::vector<FileRow> outcomeRows() {
    std::vector<FileRow> rows;
    const std::pair<const char*, const char*> outcomes[] = {
        {"a.jpg", "Renamed"},
        {"b.jpg", "Error"},
        {"c.jpg", "-"},
        {"d.jpg", "Already Exists"},
        {"e.jpg", "Invariably"},
        {"f.jpg", "Restored"},
        {"g.jpg", "Not restored: the file has changed since"},
    };
    for (const auto& [name, status] : outcomes) {
        FileRow row = folivar::test::fileRow(name, "1234");
        row.Status = status;
        rows.push_back(row);
    }
    rows[1].Path = kLongPath.toStdString();
    return rows;
}

// The tooltip a hovering pointer gets over that cell; empty when none shows.
QString tooltipAt(QTableView* view, int row, int column) {
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) {
        return QStringLiteral("(a tooltip stays)");
    }
    const QModelIndex index = view->model()->index(row, column);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QHelpEvent event(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Relative luminance and contrast ratio as accessibility guidelines define them.
double luminance(const QColor& colour) {
    const auto linear = [](float channel) {
        const auto c = static_cast<double>(channel);
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkPalette() {
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(45, 45, 45)},
                                       {QPalette::WindowText, Qt::white},
                                       {QPalette::Base, QColor(30, 30, 30)},
                                       {QPalette::AlternateBase, QColor(40, 40, 40)},
                                       {QPalette::Text, QColor(230, 230, 230)},
                                       {QPalette::Button, QColor(45, 45, 45)},
                                       {QPalette::ButtonText, Qt::white},
                                       {QPalette::Highlight, QColor(42, 130, 218)},
                                       {QPalette::HighlightedText, Qt::black}}) {
        dark.setColor(role, colour);
    }
    return dark;
}

}  // namespace

class ReadableListTest : public QObject {
    Q_OBJECT

private slots:
    // At the list's narrow widths a cell too narrow for its text shows the
    // whole text as its tooltip; one whose text fits shows none.
    void elidedCellsShowTheirWholeTextAsTooltip() {
        WindowFixture w;
        w.setRows(outcomeRows());
        const struct {
            int row;
            int column;
            QString tip;
        } cases[] = {
            {2, fcType, {}},
            {2, fcStatus, {}},
            {0, fcPath, {}},
            {1, fcPath, kLongPath},
            {3, fcStatus, "Already Exists"},
            {4, fcStatus, "Invariably"},
        };
        for (const auto& c : cases) {
            QCOMPARE(tooltipAt(w.listView(), c.row, c.column), c.tip);
        }
    }

    // As in file managers: a double click on the divider at a column's right
    // edge fits that column to its texts and caption, sorts nothing, and
    // leaves the other columns as they were; the texts then need no tooltip.
    void aDoubleClickOnAHeaderDividerFitsThatColumn() {
        for (const auto& [column, widest] : {std::pair{int{fcPath}, 1}, {int{fcStatus}, 3}}) {
            WindowFixture w;
            w.setRows(outcomeRows());
            QTableView* view = w.listView();
            QHeaderView* header = view->horizontalHeader();
            QCOMPARE(header->sectionResizeMode(column), QHeaderView::Interactive);
            QList<int> widths;
            for (int c = 0; c < folivar::kFileColumnCount; ++c) {
                widths << header->sectionSize(c);
            }
            const QStringList names = w.listColumn(fcFileName);

            view->scrollTo(view->model()->index(0, column));
            const int divider =
                header->sectionViewportPosition(column) + header->sectionSize(column);
            QTest::mouseDClick(header->viewport(), Qt::LeftButton, {},
                               QPoint(divider - 2, header->height() / 2));

            const QAbstractItemView* asView = view;  // where the hint is public
            const int fitted =
                std::max(asView->sizeHintForColumn(column), header->sectionSizeHint(column));
            QCOMPARE(header->sectionSize(column), fitted);
            QVERIFY(fitted > widths[column]);
            widths[column] = fitted;
            for (int c = 0; c < folivar::kFileColumnCount; ++c) {
                QCOMPARE(header->sectionSize(c), widths[c]);
            }
            QCOMPARE(w.listColumn(fcFileName), names);
            QCOMPARE(tooltipAt(view, widest, column), QString());
        }
    }

    // Rows whose outcome failed are marked, the others not, in a colour from
    // the palette that stands out from the base and keeps the text readable,
    // on a light and on a dark desktop palette.
    void failedRowsAreMarkedOnLightAndDarkPalettes() {
        const QPalette desktop = QApplication::palette();
        const auto restore = qScopeGuard([&desktop] { QApplication::setPalette(desktop); });
        for (const QPalette& palette : {QApplication::style()->standardPalette(), darkPalette()}) {
            QApplication::setPalette(palette);
            WindowFixture w;
            w.setRows(outcomeRows());
            QTableView* view = w.listView();
            const QColor base = palette.color(QPalette::Base);
            const QColor mark = FileCellDelegate::failedRowColour(palette);
            QVERIFY2(contrast(mark, palette.color(QPalette::Text)) >= 4.5, "text reads on a mark");
            QVERIFY2(contrast(mark, base) >= 1.3, "a mark stands out from the base");
            // What each row shows inside its name's cell, past the short
            // name, clear of the grid.
            const auto shown = [view] {
                const QImage shot = view->viewport()->grab().toImage();
                QList<QRgb> colours;
                for (int row = 0; row < view->model()->rowCount(); ++row) {
                    colours << shot.pixel(
                        view->columnViewportPosition(fcFileName) + view->columnWidth(fcFileName) -
                            6,
                        view->rowViewportPosition(row) + view->rowHeight(row) / 2);
                }
                return colours;
            };
            // Renamed, Error, -, Already Exists, Invariably, and an undo's
            // Restored and Not restored
            QCOMPARE(shown(), (QList<QRgb>{base.rgb(), mark.rgb(), base.rgb(), mark.rgb(),
                                           base.rgb(), base.rgb(), mark.rgb()}));

            // Selected all at once, the failed rows still differ from the others.
            w.select({true, true, true, true, true, true, true});
            const QList<QRgb> selected = shown();
            QCOMPARE(selected[2], selected[0]);
            QCOMPARE(selected[3], selected[1]);
            QVERIFY(qRed(selected[1]) > qRed(selected[0]));
            QVERIFY(selected[0] != base.rgb());
        }
    }
};

QTEST_MAIN(ReadableListTest)
#include "ReadableListTest.moc"
