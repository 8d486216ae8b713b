// The registry keys of the recently-used lists that the privacy options remove.
#include "catalog/BriskoDoc.h"

void CBriskoDoc::FillPrivacyCollections() {}
