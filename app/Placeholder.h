#pragma once

#include <QWidget>

namespace folivar {

// Stands in for the main window until it is built.
QWidget* createPlaceholderWindow();

}  // namespace folivar
