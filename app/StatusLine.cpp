#include "app/StatusLine.h"

#include <QTimer>

#include "app/EngineBridge.h"

namespace folivar {

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent) {}

void StatusLine::write(const QString& text) {
    showMessage(text);
    repaint();
}

void StatusLine::writeLater(const QString& text) {
    QTimer::singleShot(0, this, [this, text] { write(text); });
}

void StatusLine::status(const std::string& text) {
    write(fromEngine(text));
}

}  // namespace folivar
