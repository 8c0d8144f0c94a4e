#include "app/Placeholder.h"

#include <QLabel>

namespace folivar {

QWidget* createPlaceholderWindow() {
    auto* label = new QLabel(QStringLiteral(
        "Mirosel Folivar v3.0\n\nThe main window is not built yet: only the search engine is."));
    label->setAlignment(Qt::AlignCenter);
    label->setWindowTitle(QStringLiteral("Mirosel Folivar v3.0"));
    label->resize(480, 160);
    return label;
}

}  // namespace folivar
