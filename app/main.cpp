#include <windows.h>

#include "app/BriskoApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int cmdShow) {
    // The one application object, constructed before start-up and destroyed
    // after the message loop has ended.
    CBriskoApp app;
    return win::AfxWinMain(app, instance, cmdShow);
}
