#pragma once

#include <QLabel>
#include <QPixmap>

namespace folivar {

// A picture shown whole: where the label is narrower than the picture, the
// picture is scaled down to the label's width rather than cut at both sides.
// It is never drawn larger than it is.
class FittedPicture : public QLabel {
    Q_OBJECT

public:
    FittedPicture(const QPixmap& picture, QWidget* parent);

    QSize sizeHint() const override;
    // A layout may make it narrower than the picture.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace folivar
