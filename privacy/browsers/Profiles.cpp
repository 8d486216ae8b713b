#include "privacy/browsers/Profiles.h"

#include <algorithm>

#include <windows.h>
#include <shlobj.h>

#include "win/SystemInfo.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "i18n/Ini.h"
#include "win/Handle.h"
#include "win/Path.h"

namespace browsers {

namespace {

struct ChromiumBrowser {
    const wchar_t* browser;
    const wchar_t* key;
    bool roaming;            // Opera keeps its profile in the roaming folder
    const wchar_t* relative; // the User Data folder, or Opera's profile folder
    bool singleProfile;      // Opera: the folder is the one profile
};

const ChromiumBrowser kChromiumBrowsers[] = {
    {L"Google Chrome", L"chrome", false, L"Google\\Chrome\\User Data", false},
    {L"Microsoft Edge", L"edge", false, L"Microsoft\\Edge\\User Data", false},
    {L"Brave", L"brave", false, L"BraveSoftware\\Brave-Browser\\User Data", false},
    {L"Vivaldi", L"vivaldi", false, L"Vivaldi\\User Data", false},
    {L"Opera", L"opera", true, L"Opera Software\\Opera Stable", true},
    {L"Opera GX", L"opera-gx", true, L"Opera Software\\Opera GX Stable", true},
    {L"Chromium", L"chromium", false, L"Chromium\\User Data", false},
};

// A real folder, reached through no link.
bool IsPlainFolder(const std::wstring& path) {
    if (!IsFullPath(path)) return false;
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    return item && item->IsFolder() && !item->viaReparse && !(item->attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// True when the folder lies in `home` (both resolved, links and all).
bool IsInside(const std::wstring& folder, const std::wstring& home) {
    if (home.empty()) return false;
    std::optional<CanonicalItem> item = CanonicalItemPath(folder), root = CanonicalItemPath(home);
    return item && root && !item->viaReparse && LiesBelow(item->path, root->path);
}

// "Default" and "Profile N" below a User Data folder, by name.
std::vector<std::wstring> ChromiumProfileNames(const std::wstring& userData) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    win::FindHandle find(::FindFirstFileW(JoinPath(userData, L"*").c_str(), &entry));
    if (!find) return names;
    do {
        std::wstring name = entry.cFileName;
        bool profile = name == L"Default" || (name.rfind(L"Profile ", 0) == 0 && name.size() > 8 &&
                                              name.find_first_not_of(L"0123456789", 8) == std::wstring::npos);
        if (profile && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(name);
    } while (::FindNextFileW(find.Get(), &entry));
    // "Profile 10" after "Profile 9".
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return names;
}

void AddChromiumProfiles(const BrowserRoots& roots, std::vector<BrowserProfile>& profiles) {
    for (const ChromiumBrowser& browser : kChromiumBrowsers) {
        std::wstring base = browser.roaming ? roots.roaming : roots.local;
        if (base.empty()) continue;
        std::wstring userData = JoinPath(base, browser.relative);
        if (!IsPlainFolder(userData)) continue;
        BrowserProfile profile;
        profile.browser = browser.browser;
        profile.key = browser.key;
        if (browser.singleProfile) {
            profile.name = L"Default";
            profile.folder = userData;
            profile.cacheFolder = JoinPath(roots.local, browser.relative);
            profile.lockFile = JoinPath(userData, L"lockfile");
            profiles.push_back(profile);
            continue;
        }
        profile.userData = userData;
        profile.lockFile = JoinPath(userData, L"lockfile");
        for (const std::wstring& name : ChromiumProfileNames(userData)) {
            profile.name = name;
            profile.folder = profile.cacheFolder = JoinPath(userData, name);
            if (IsPlainFolder(profile.folder)) profiles.push_back(profile);
        }
    }
}

std::vector<std::wstring> SectionNames(const std::wstring& iniFile) {
    std::vector<wchar_t> buffer(32768);
    DWORD n = ::GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()), iniFile.c_str());
    std::vector<std::wstring> names;
    for (size_t at = 0; at < n && buffer[at];) {
        names.emplace_back(&buffer[at]);
        at += names.back().size() + 1;
    }
    return names;
}

void AddFirefoxProfiles(const BrowserRoots& roots, std::vector<BrowserProfile>& profiles) {
    if (roots.roaming.empty()) return;
    const std::wstring firefox = JoinPath(roots.roaming, L"Mozilla\\Firefox");
    const std::wstring iniFile = JoinPath(firefox, L"profiles.ini");
    if (!IsPlainFolder(firefox) || !FullPathExists(iniFile)) return;
    std::vector<BrowserProfile> found;
    CIni ini(iniFile);
    for (const std::wstring& section : SectionNames(iniFile)) {
        if (section.rfind(L"Profile", 0) != 0) continue;
        std::wstring path = ini.GetString(section, L"Path", L"");
        std::replace(path.begin(), path.end(), L'/', L'\\');
        if (path.empty()) continue;
        BrowserProfile profile;
        profile.family = BrowserFamily::Firefox;
        profile.browser = L"Firefox";
        profile.key = L"firefox";
        bool relative = ini.GetString(section, L"IsRelative", L"1") != L"0" && !IsFullPath(path);
        if (relative) {
            profile.folder = NormaliseFolderPath(JoinPath(firefox, path));
            profile.cacheFolder = NormaliseFolderPath(JoinPath(JoinPath(roots.local, L"Mozilla\\Firefox"), path));
        } else {
            profile.folder = profile.cacheFolder = NormaliseFolderPath(path);
        }
        // The file is the user's to write: a path of its own choosing must stay in the user's folder.
        if ((!relative || path.find(L"..") != std::wstring::npos) &&
            !(IsInside(profile.folder, roots.home) && IsInside(profile.cacheFolder, roots.home)))
            profile.outside = true;
        if (!profile.outside && !IsPlainFolder(profile.folder)) continue;
        profile.name = ini.GetString(section, L"Name", path.substr(path.rfind(L'\\') + 1));
        profile.lockFile = JoinPath(profile.folder, L"parent.lock");
        found.push_back(std::move(profile));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const BrowserProfile& a, const BrowserProfile& b) { return _wcsicmp(a.name.c_str(), b.name.c_str()) < 0; });
    profiles.insert(profiles.end(), found.begin(), found.end());
}

}  // namespace

BrowserRoots UserBrowserRoots() {
    const ISystemInfo& system = RealSystemInfo();
    return {system.SpecialFolder(CSIDL_APPDATA), system.SpecialFolder(CSIDL_LOCAL_APPDATA),
            system.SpecialFolder(CSIDL_PROFILE)};
}

std::vector<BrowserProfile> FindBrowserProfiles(const BrowserRoots& roots) {
    std::vector<BrowserProfile> profiles;
    AddChromiumProfiles(roots, profiles);
    AddFirefoxProfiles(roots, profiles);
    return profiles;
}

bool IsKnownBrowserName(const std::wstring& name) {
    if (_wcsicmp(name.c_str(), L"firefox") == 0) return true;
    return std::any_of(std::begin(kChromiumBrowsers), std::end(kChromiumBrowsers), [&](const ChromiumBrowser& b) {
        return _wcsicmp(b.key, name.c_str()) == 0 || _wcsicmp(b.browser, name.c_str()) == 0;
    });
}

std::wstring KnownBrowserNames() {
    std::wstring names;
    for (const ChromiumBrowser& browser : kChromiumBrowsers) names += std::wstring(browser.key) + L", ";
    return names + L"firefox";
}

bool NamesBrowser(const BrowserProfile& profile, const std::wstring& name) {
    return _wcsicmp(profile.key.c_str(), name.c_str()) == 0 || _wcsicmp(profile.browser.c_str(), name.c_str()) == 0;
}

}  // namespace browsers
