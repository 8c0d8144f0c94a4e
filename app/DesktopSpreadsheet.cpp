#include "app/DesktopSpreadsheet.h"

#include <string>
#include <utility>

#include "app/EngineBridge.h"
#include "export/XlsxApplication.h"

namespace folivar {

SpreadsheetCreator desktopSpreadsheet(std::function<Desktop&()> desktop,
                                      std::function<void(const QString&)> tell) {
    XlsxDesktop xlsx;
    xlsx.hasSpreadsheetApplication = [desktop] { return desktop().hasSpreadsheetApplication(); };
    xlsx.open = [desktop, tell = std::move(tell)](const std::string& file,
                                                  const std::string& directory) {
        if (const auto failure = desktop().openFile(fromEngine(file), fromEngine(directory))) {
            tell(*failure);
        }
    };
    return XlsxApplication::creator(std::move(xlsx));
}

}  // namespace folivar
