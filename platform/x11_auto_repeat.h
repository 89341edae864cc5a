#pragma once
// Asks the X server to report a held key's auto-repeat as repeated presses
// without releases between them (XKB's detectable auto-repeat, a per-client
// flag). Qt marks an X auto-repeat only when it sees the release and the next
// press together, which a loaded or virtual server often fails to deliver, so
// a held key would otherwise act again and again. Does nothing off X11.

namespace zarvik {

void requestDetectableAutoRepeat();

}  // namespace zarvik
