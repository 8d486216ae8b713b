// Discovery of installation and browser-profile folders at construction.
#include "catalog/BriskoDoc.h"

void CBriskoDoc::DiscoverInstallFolders() {}

void CBriskoDoc::DiscoverBrowserProfiles() {}
