#pragma once

// A second copy of the program asks the running one to come forward instead of starting.
namespace ActivationRequest {
// Answers such requests for the rest of the run.
void listen();
// Signed in: the main window comes back, a fresh one if it was closed to the tray. Before that: the one
// open window (sign-in, sign-up or activation) is raised.
void bringForward();
} // namespace ActivationRequest
