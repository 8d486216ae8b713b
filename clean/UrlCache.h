#pragma once
// Empties the platform's Internet cache entry by entry, through the cache
// interface of the Internet library rather than by deleting its files.

// Deletes every content entry of the cache. Cookie and visited-URL entries
// are left alone even where the platform lists them with the content: the
// cookies have their own option and the URL history is cleared on its own.
// True when the enumeration could start (the cache held an entry).
bool ClearUrlCache();
