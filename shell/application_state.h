#pragma once
// Program-wide start-up state.
//
// SplashPending: the splash window still has to be shown on the main
// window's first activation. Set when the program starts, cleared once.
//
// Telling the application to terminate: the event loop ends as soon as it
// runs (at once if it is running), and no close handler runs. A request made
// before the loop starts is remembered, so start-up can skip showing windows.

namespace zarvik {

extern bool SplashPending;

void terminateApplication();
bool terminationRequested();

}  // namespace zarvik
