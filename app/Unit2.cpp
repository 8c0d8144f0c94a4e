#include "app/Unit2.h"

#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "app/BannerImage.h"
#include "app/FittedPicture.h"

namespace folivar {

namespace {

QLabel* label(const QString& text, QWidget* parent, const QString& name) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    result->setWordWrap(true);
    result->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return result;
}

QWidget* aboutPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(page);
    // Room for the banner as it is drawn.
    layout->setContentsMargins(6, 20, 6, 16);
    layout->setSpacing(14);

    QLabel* product =
        label(QStringLiteral("Mirosel Folivar v3.0"), page, QStringLiteral("ProductName"));
    // A sheet rule, so the main window's small face does not reach it.
    product->setStyleSheet(QStringLiteral("font-size: 15pt; font-weight: bold;"));
    layout->addWidget(product);

    QLabel* picture = nullptr;
    try {
        picture = new FittedPicture(QPixmap::fromImage(BannerImage::picture()), page);
    } catch (const std::runtime_error&) {
        // A window without its picture still works.
        picture = label(QStringLiteral("Mirosel Folivar"), page, QString());
    }
    picture->setObjectName(QStringLiteral("Picture"));
    layout->addWidget(picture);

    layout->addWidget(label(QStringLiteral("Lists files from many folders by wildcard masks and "
                                           "filters, orders and prunes the list, and then renames, "
                                           "moves, de-duplicates, deletes or exports every listed "
                                           "file. It never overwrites a file."),
                            page, QStringLiteral("Comments")));
    layout->addStretch(1);
    return page;
}

QWidget* creditsPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 20, 16, 16);
    layout->addWidget(label(QStringLiteral("Built with Qt 6.\n\nThe banner picture is decoded with "
                                           "libjpeg; this software is based in part on the work "
                                           "of the Independent JPEG Group."),
                            page, QStringLiteral("Credits")));
    layout->addStretch(1);
    return page;
}

}  // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(481, 377);

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setGeometry(8, 8, 465, 361);
    pages->addTab(aboutPage(pages), QStringLiteral("About"));
    pages->addTab(creditsPage(pages), QStringLiteral("Credits"));

    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

}  // namespace folivar
