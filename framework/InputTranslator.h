#pragma once
// Input as the framework's message loop hands it to PreTranslateMessage: Qt's key, mouse, wheel,
// hover and leave events become MSG records (WM_KEYDOWN with a VK_ code, WM_LBUTTONDOWN with MK_
// key state and packed client coordinates, ...) and are offered to every dialog from the target
// window up to its top-level window; a dialog that takes one stops the event. Framework-internal.

namespace framework {

// Installs the translator on the application once; every CDialog calls it when it is made.
void installInputTranslator();
// Whether the pointer is being timed for a hover: it came onto a window and has rested there for
// less than the hover time.
bool hoverPending();

} // namespace framework
