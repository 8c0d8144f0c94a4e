#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "support/ScopedVariable.h"
#include "support/TempTree.h"

namespace folivar::test {

class WindowFixture;

// Four files for the window's long operations to work on (a, b and c of
// the same contents, d of other ones), a folder to move them into, and the
// export's temporary folder; each operation by its name.
class LongOperations {
public:
    LongOperations();

    // scan, rename, move, find dupl, del dupl, link dupl, delete files, undo, export,
    // sort by date, rename by date, preview by date (by "date+oldname")
    static QStringList names();

    // Scans the four files into w's list (the scan's exclude mask "*.tmp").
    void scan(WindowFixture& w) const;
    // Makes ready for the operation over the list scanned and returns what
    // runs it as its handler is run.
    std::function<void()> prepare(WindowFixture& w, const QString& operation) const;

    const QString& folder() const { return folder_; }
    const QString& target() const { return target_; }

private:
    TempTree tree_;
    QString folder_;
    QString target_;
    std::unique_ptr<ScopedVariable> tmpdir_;
};

}  // namespace folivar::test
