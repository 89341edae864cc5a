#pragma once
// Telling the application to terminate: the event loop ends as soon as it
// runs (at once if it is running), and no close handler runs. A request made
// before the loop starts is remembered, so start-up can skip showing windows.

namespace zarvik {

void terminateApplication();
bool terminationRequested();

}  // namespace zarvik
