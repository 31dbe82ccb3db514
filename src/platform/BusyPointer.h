#pragma once

// The program-wide mouse pointer: busy (hourglass) or normal, for all windows.
// Like a single switch, not a stack: setting busy twice and normal once leaves it normal.
class BusyPointer {
public:
    static void setBusy(bool busy);
    static bool isBusy();
};
