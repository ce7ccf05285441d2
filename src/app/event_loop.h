#pragma once

namespace quarrow {

// Picks Qt's plain Unix event loop over its GLib one: a pass that finds nothing to do costs less
// than half as much, and Max mode makes one pass a frame. Call before the application object
// exists.
void PreferPlainEventLoop();

}  // namespace quarrow
