#include <windows.h>

#include "app/BriskoApp.h"

// The one application object, constructed before start-up and destroyed
// after the message loop has ended.
static CBriskoApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int cmdShow) {
    return win::AfxWinMain(theApp, instance, cmdShow);
}
