#pragma once
// The browser's store of visited URLs, reached through the platform's URL
// history object.

// Clears the whole store. The component library is initialised on the
// calling thread for the call. True when the history object could be
// created, whether or not it could clear (some platforms do not implement
// the clearing).
bool ClearUrlHistoryStore();
