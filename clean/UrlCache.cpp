#include "clean/UrlCache.h"

#include <windows.h>
#include <wininet.h>

#include <memory>

namespace {

struct CacheFind {
    HANDLE handle = nullptr;
    ~CacheFind() {
        if (handle) ::FindCloseUrlCache(handle);
    }
};

// The record of one entry, in a buffer of the size the platform asked for.
class CEntryBuffer {
public:
    INTERNET_CACHE_ENTRY_INFOW* Get() const { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(m_bytes.get()); }
    DWORD Size() const { return m_size; }
    // Makes room for `size` bytes; a size too small for the fixed record is
    // never handed to the platform as a record.
    void Resize(DWORD size) {
        m_size = size;
        m_bytes = std::make_unique<unsigned char[]>(size ? size : 1);
    }

private:
    std::unique_ptr<unsigned char[]> m_bytes;
    DWORD m_size = 0;
};

// Asks for the next entry as long as the platform wants a larger buffer.
template <typename Call>
bool ReadEntry(CEntryBuffer& buffer, Call call) {
    DWORD size = 0;
    if (call(nullptr, &size)) return false;  // no record can come without a buffer
    for (;;) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size < sizeof(INTERNET_CACHE_ENTRY_INFOW))
            return false;
        buffer.Resize(size);
        if (call(buffer.Get(), &size)) return true;
    }
}

bool IsContentEntry(const INTERNET_CACHE_ENTRY_INFOW& entry) {
    return (entry.CacheEntryType & (COOKIE_CACHE_ENTRY | URLHISTORY_CACHE_ENTRY)) == 0;
}

}  // namespace

bool ClearUrlCache() {
    CEntryBuffer buffer;
    CacheFind find;
    bool started = ReadEntry(buffer, [&](INTERNET_CACHE_ENTRY_INFOW* record, DWORD* size) {
        find.handle = ::FindFirstUrlCacheEntryW(nullptr, record, size);
        return find.handle != nullptr;
    });
    if (!started) return false;
    do {
        const INTERNET_CACHE_ENTRY_INFOW& entry = *buffer.Get();
        if (IsContentEntry(entry) && entry.lpszSourceUrlName) ::DeleteUrlCacheEntryW(entry.lpszSourceUrlName);
    } while (ReadEntry(buffer, [&](INTERNET_CACHE_ENTRY_INFOW* record, DWORD* size) {
        return ::FindNextUrlCacheEntryW(find.handle, record, size) != FALSE;
    }));
    return true;
}
