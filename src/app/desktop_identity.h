#pragma once

namespace quarrow {

// Gives every window the program's own icon and ties the windows to the installed desktop entry,
// so that the window system shows the same name and icon as the menu.
void SetDesktopIdentity();

}  // namespace quarrow
