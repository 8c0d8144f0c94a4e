#pragma once

namespace folivar {

// Hears of every change the session makes to the file list's rows, so that a
// view can keep in step without any caller telling it. The window's list
// model is one.
class RowsObserver {
public:
    virtual ~RowsObserver() = default;

    // Rows will be added, removed or put in another order. Pairs with
    // rowsChanged(), which follows on every way out; the pairs may nest.
    virtual void rowsAboutToChange() = 0;
    virtual void rowsChanged() = 0;

    // Texts of the rows were rewritten in place; the rows are the same.
    virtual void cellsChanged() = 0;
};

}  // namespace folivar
