#pragma once
#include "platform/result.h"
#include "workspace/frm_main.h"

namespace vexmar::build {

// Puts the table of contents of the checked entries of lstTOC in front of
// the index page in the project folder. The page is rewritten through a
// temporary file beside it, so it is never left half-written.
Status InsertToc(workspace::FrmMain& window);

}  // namespace vexmar::build
