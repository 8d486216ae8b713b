// The targets that only the Standard scan visits.
#include "catalog/BriskoDoc.h"

void CBriskoDoc::FillStandardCollections() {}
