#include "manifest/window_order.h"

// The native build's headless window has no stacking order.
void showWindowNotTopmost(void*) {}
