#pragma once

#include <QPointer>

// The one program-wide instance of each window, reached by its class: Form<frmMain>::get().
// Using a window that does not exist creates it and runs its Form_Load, without showing it.
// Unloading hides and destroys it and empties the reference, so the next use creates a fresh one.
// A window type needs a default constructor and a public Form_Load().
template <class Window> class Form {
public:
    static Window* get()
    {
        if (!ref()) {
            auto* window = new Window;
            ref() = window;
            window->Form_Load();
        }
        return ref().data();
    }

    static bool isLoaded() { return !ref().isNull(); }
    static Window* existing() { return ref().data(); }

    static void unload()
    {
        if (Window* window = ref().data()) {
            ref().clear();
            window->hide();
            window->deleteLater();
        }
    }

    // Shows the window (creating and loading it first when needed), not modal, and brings it forward.
    static Window* show()
    {
        Window* window = get();
        if (window && isLoaded()) {
            window->show();
            window->raise();
            window->activateWindow();
        }
        return window;
    }

private:
    static QPointer<Window>& ref()
    {
        static QPointer<Window> instance;
        return instance;
    }
};
