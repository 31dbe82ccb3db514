// Linked into every program of a sanitizer build only. Libraries stay loaded until the process ends: a library
// unloaded before the leak check at exit takes away the pointers it held (what it allocated then looks leaked)
// and its name (the allocation's stack shows only "<unknown module>", which no suppression can match). The GL
// driver is such a library, unloaded when the display connection closes.
extern "C" int dlclose(void*)
{
    return 0;
}
