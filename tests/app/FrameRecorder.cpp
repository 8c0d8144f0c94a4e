#include "FrameRecorder.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>

#include "WindowFixture.h"

namespace folivar::test {

FrameRecorder::FrameRecorder(WindowFixture& w) : w_(w) {
    // Paints still pending from before are none of the operation's.
    QCoreApplication::processEvents();
    w.control<QStatusBar>("StatusBar")->installEventFilter(this);
    const QAbstractItemModel* model = w.control<QTableView>("ListView")->model();
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { ++resets_; });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { --resets_; });
}

QStringList FrameRecorder::statuses() const {
    QStringList texts;
    for (const Frame& frame : frames) {
        texts << frame.status;
    }
    return texts;
}

Frame FrameRecorder::now() const {
    auto* progress = w_.control<QProgressBar>("ProgressBar");
    return {w_.status(),
            progress->isVisible(),
            progress->value(),
            w_.control<QLabel>("Banner")->isVisible(),
            w_.control<QWidget>("ScanButton")->isVisible() ||
                w_.control<QWidget>("RenameButton")->isVisible() ||
                w_.control<QWidget>("FindDuplButton")->isVisible(),
            resets_ > 0};
}

bool FrameRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && watched->objectName() == "StatusBar") {
        frames << now();
    }
    return false;
}

}  // namespace folivar::test
