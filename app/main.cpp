#include <QApplication>
#include <memory>

#include "app/Placeholder.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window(folivar::createPlaceholderWindow());
    window->show();
    return QApplication::exec();
}
