// The Internet cache of the throwaway prefix, with entries the test makes:
// content entries go, cookie and visited-URL entries stay.
#include <windows.h>
#include <wininet.h>

#include <shlobj.h>

#include <gtest/gtest.h>
#include <set>

#include "clean/UrlCache.h"
#include "support/TestSupport.h"

namespace {

// The folders the cache makes for its files on first use stay empty after a
// clear, and the next-mode scans of other tests of this program would list
// them: those the cache did not have before the scope go with it.
class CacheFoldersAsFound {
public:
    CacheFoldersAsFound() : m_before(Folders()) {}
    ~CacheFoldersAsFound() {
        for (const std::wstring& folder : Folders())
            if (!m_before.count(folder)) testing_support::RemoveTree(folder);
    }

private:
    static std::set<std::wstring> Folders() {
        wchar_t cache[MAX_PATH] = {};
        std::set<std::wstring> folders;
        if (!::SHGetSpecialFolderPathW(nullptr, cache, CSIDL_INTERNET_CACHE, FALSE)) return folders;
        std::wstring content = std::wstring(cache) + L"\\Content.IE5";
        WIN32_FIND_DATAW entry;
        HANDLE find = ::FindFirstFileW((content + L"\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return folders;
        do {
            std::wstring name = entry.cFileName;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                folders.insert(content + L"\\" + name);
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
        return folders;
    }
    std::set<std::wstring> m_before;
};

bool MakeCacheEntry(const std::wstring& url, DWORD type) {
    wchar_t file[MAX_PATH] = {};
    if (!::CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) return false;
    HANDLE h = ::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    ::WriteFile(h, "data", 4, &written, nullptr);
    ::CloseHandle(h);
    FILETIME never{}, now{};
    ::GetSystemTimeAsFileTime(&now);
    return ::CommitUrlCacheEntryW(url.c_str(), file, never, now, type, nullptr, 0, L"txt", nullptr) != FALSE;
}

bool InCache(const std::wstring& url) {
    DWORD size = 0;
    ::GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

TEST(ClearUrlCache, DeletesContentEntriesKeepsCookiesAndVisitedUrlsAndFindsNothingWhenEmpty) {
    struct Entry {
        const wchar_t* url;
        DWORD type;
        bool stays;
    };
    const Entry entries[] = {
        {L"http://brisko.test/page.html", NORMAL_CACHE_ENTRY, false},
        {L"http://brisko.test/sticky.css", NORMAL_CACHE_ENTRY | STICKY_CACHE_ENTRY, false},
        {L"http://brisko.test/a-rather-long-name-that-makes-its-record-larger-than-the-others/page.js",
         NORMAL_CACHE_ENTRY, false},
        {L"Cookie:u@brisko.test/", COOKIE_CACHE_ENTRY, true},
        {L"Visited: u@http://brisko.test/page.html", URLHISTORY_CACHE_ENTRY, true},
    };
    CacheFoldersAsFound tidy;
    for (const Entry& entry : entries) ASSERT_TRUE(MakeCacheEntry(entry.url, entry.type)) << entry.url;

    EXPECT_TRUE(ClearUrlCache());
    for (const Entry& entry : entries) EXPECT_EQ(InCache(entry.url), entry.stays) << entry.url;

    for (const Entry& entry : entries) ::DeleteUrlCacheEntryW(entry.url);
    EXPECT_FALSE(ClearUrlCache()) << "an empty cache cannot be enumerated";
}

}  // namespace
