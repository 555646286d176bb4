// The state each page of the main window shows in a real run, for the
// screenshots and native renders of the four pages.
#pragma once

namespace ui {

// Copies the product name to every page, fills the directory field, switches
// to page and, for the installing page, puts the ring half way.
void showPageAsInARealRun(int page);

}  // namespace ui
