#pragma once

#include <QDialog>

namespace folivar {

// The About window: product name, version, the banner picture and credits.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
};

}  // namespace folivar
