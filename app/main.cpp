#include <QApplication>
#include <clocale>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/DesktopIdentity.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "export/ExportFolders.h"
#include "platform/OpenFileLimit.h"

int main(int argc, char* argv[]) {
    if (const std::optional<int> code = folivar::answerWithoutWindow(argc, argv, stdout, stderr)) {
        return *code;
    }
    // Sorting by FileName collates by the user's locale. QApplication sets it
    // on its own too; this states it and holds before any other code runs.
    std::setlocale(LC_ALL, "");
    folivar::platform::raiseOpenFileLimit();  // many files compared at once
    QApplication application(argc, argv);
    folivar::presentToDesktop();
    folivar::removeOldExports();  // what earlier runs left in the temporary folder
    // The main window comes first: closing it ends the process.
    folivar::TForm1 form1;
    folivar::TForm2 form2(&form1);
    form1.setAboutWindow(&form2);
    form1.show();
    return QApplication::exec();
}
