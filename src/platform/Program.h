#pragma once

// Ending the program. end() leaves every event loop, nested ones (message boxes) included, so that
// main() returns; windows are then destroyed without their close handlers running.
class Program {
public:
    static void end(int code = 0);
    static bool isEnding();
    // Runs the event loop unless the program already ends; destroys the remaining windows afterwards.
    static int run();
};
