#pragma once

// Running the program's event loop to its end.
class Program {
public:
    // Runs the event loop; destroys the remaining windows afterwards, without their close handlers running.
    static int run();
};
