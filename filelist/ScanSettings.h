#pragma once

#include <string>
#include <vector>

#include "search/DateTime.h"

namespace folivar {

// What the scan settings controls hold when SCAN is pressed. Combo boxes are
// given by the position of their chosen entry, -1 when none is chosen.
struct ScanSettings {
    std::vector<std::string> Paths;         // PathListBox
    std::vector<std::string> IncludeMasks;  // ScanListBox1
    std::vector<std::string> ExcludeMasks;  // ScanListBox2

    bool IncludeSubfolders = true;     // ScanCheckBox1
    bool LookForAnyFiles = true;       // ScanCheckBox2
    bool LookForReadOnlyFiles = true;  // ScanCheckBox3
    bool LookForHiddenFiles = true;    // ScanCheckBox4
    bool LookForSystemFiles = true;    // ScanCheckBox5
    bool LookForArchiveFiles = true;   // ScanCheckBox6

    bool FilterOnDate = false;  // DateCheckBox
    int DateAccessIndex = 2;    // DateComboBox1: Any, Created, Modified, Opened files
    int DateKindIndex = 3;      // DateComboBox2: Between, After, Before, Same
    TDateTime FirstDate = 0;    // DateTimePicker1
    TDateTime SecondDate = 0;   // DateTimePicker2

    bool FilterOnSize = false;   // SizeCheckBox
    int SizeKindIndex = 0;       // SizeComboBox: Smaller Or Equal To, Bigger Or Equal To
    std::string SizeText = "0";  // SizeEdit, read even when the size filter is off

    bool ShortNamesOnly = false;  // ShortnameCheckBox
};

}  // namespace folivar
