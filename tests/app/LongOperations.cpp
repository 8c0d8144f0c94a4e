#include "LongOperations.h"

#include <QComboBox>
#include <QListWidget>

#include "WindowFixture.h"

namespace folivar::test {

LongOperations::LongOperations()
    : folder_(QString::fromStdString(tree_.dir("in"))),
      target_(QString::fromStdString(tree_.dir("out"))),
      tmpdir_(std::make_unique<ScopedVariable>("TMPDIR", tree_.dir("tmp"))) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
        tree_.file(std::string("in/") + name, name[0] == 'd' ? "other" : "same");
    }
}

QStringList LongOperations::names() {
    return {"scan",     "rename",       "move",           "find dupl",
            "del dupl", "link dupl",    "delete files",   "undo",
            "export",   "sort by date", "rename by date", "preview by date"};
}

void LongOperations::scan(WindowFixture& w) const {
    setListEntries(w.control<QListWidget>("PathListBox"), {folder_});
    setListEntries(w.control<QListWidget>("ScanListBox2"), {"*.tmp"});
    w.form().ScanButtonClick();
}

std::function<void()> LongOperations::prepare(WindowFixture& w, const QString& operation) const {
    TForm1& form = w.form();
    if (operation == "scan") {
        return [&form] { form.ScanButtonClick(); };
    }
    if (operation == "rename") {
        return [&form] { form.RenameButtonClick(); };
    }
    if (operation == "move") {
        w.control<QComboBox>("RenMovBox")->setCurrentIndex(1);
        w.desktop().folderAnswers = {target_};
        w.desktop().yesNoAnswers = {true};
        return [&form] { form.RenameButtonClick(); };
    }
    if (operation == "find dupl") {
        return [&form] { form.FindDuplButtonClick(); };
    }
    if (operation == "del dupl") {
        form.FindDuplButtonClick();
        return [&form] { form.FindDuplButtonClick(); };
    }
    if (operation == "link dupl") {
        form.FindDuplButtonClick();
        return [&form] { form.LinkDuplButtonClick(); };
    }
    if (operation == "delete files") {
        w.select(RowSelection(4, true));
        return [&form] { form.DeleteFiles1Click(); };
    }
    if (operation == "undo") {
        form.RenameButtonClick();
        return [&form] { form.UndoRename1Click(); };
    }
    if (operation == "sort by date") {
        return [&form] { form.SortByDateTaken1Click(); };
    }
    if (operation.endsWith("by date")) {
        // Names made of dates taken: every date is read first.
        auto* structure = w.control<QComboBox>("FileStructureBox");
        structure->setCurrentIndex(structure->findText("date+oldname"));
        if (operation == "preview by date") {
            return [&form] { form.PreviewNames1Click(); };
        }
        return [&form] { form.RenameButtonClick(); };
    }
    w.desktop().spreadsheetApplication = true;
    return [&form] { form.ExportButtonClick(); };
}

}  // namespace folivar::test
