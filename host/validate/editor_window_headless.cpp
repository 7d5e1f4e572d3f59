// No parent window (no window library built in): editors are opened with null.
#include "host/validate/editor_window.h"

namespace zvalidate {

ParentWindow::ParentWindow(int, int) {}
ParentWindow::~ParentWindow() {}
const char* ParentWindow::kind() const { return "no window (null)"; }
void ParentWindow::pump() {}

}  // namespace zvalidate
