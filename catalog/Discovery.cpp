// Discovery of installation and browser-profile folders at construction.
// Nothing here fails visibly: a folder that is not there becomes a path that
// leads nowhere, and the walks below it find nothing.
#include "catalog/BriskoDoc.h"
#include "catalog/Discovery.h"
#include "catalog/Registry.h"
#include "i18n/Ini.h"
#include "win/Handle.h"
#include "win/Path.h"

namespace {
const wchar_t kMissing[] = L"null";
// The folder buffers hold 259 characters. A longer value counts as missing:
// cut short, it could name some other existing folder.
const size_t kMaxFolderChars = 259;

std::wstring ReadInstallFolder(const std::wstring& fullValuePath) {
    std::wstring value = ReadRegistryString(fullValuePath, kMissing);
    return value.size() > kMaxFolderChars ? std::wstring(kMissing) : value;
}

}  // namespace

bool ClimbsOut(const std::wstring& relative) {
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) end = relative.size();
        std::wstring step = relative.substr(start, end - start);
        if (step.size() >= 2 && step.find_first_not_of(L'.') == std::wstring::npos) return true;
        start = end + 1;
    }
    return false;
}

std::wstring CutLastComponents(std::wstring path, int count) {
    for (int i = 0; i < count; ++i) {
        size_t last = path.rfind(L'\\');
        path.erase(last == std::wstring::npos ? 0 : last);
    }
    return path;
}

std::wstring ReadFirefoxProfilePath(const std::wstring& firefoxFolder) {
    std::wstring relative = L".";
    if (IsFullPath(firefoxFolder)) {
        CIni ini(firefoxFolder + L"\\profiles.ini");
        relative = ini.GetString(L"Profile0", L"Path", L".");
    }
    for (wchar_t& c : relative)
        if (c == L'/') c = L'\\';
    // A profile path is meant to lie below the Firefox folder; one that climbs
    // out of it would have the scans list files of other folders.
    if (ClimbsOut(relative)) relative = L".";
    return firefoxFolder + L"\\" + relative;
}

void AppendFirstMatch(std::wstring& path, const std::wstring& pattern) {
    if (IsFullPath(path)) {
        WIN32_FIND_DATAW entry;
        win::FindHandle find(::FindFirstFileW(JoinPath(path, pattern).c_str(), &entry));
        if (find) {
            do {
                if (IsDotEntry(entry.cFileName)) continue;
                path = JoinPath(path, entry.cFileName);
                return;
            } while (::FindNextFileW(find.Get(), &entry));
        }
    }
    path = JoinPath(path, pattern);
}

std::wstring CBriskoDoc::FindProfileFolder(const std::wstring& relative) const {
    std::wstring roaming = m_szAppData + L"\\" + relative;
    if (FullPathExists(roaming)) return roaming;
    return m_szLocalAppData + L"\\" + relative;
}

void CBriskoDoc::DiscoverInstallFolders() {
    m_szShortcutBarDir = ReadInstallFolder(L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders\\" +
                                           m_szProgramFiles + L"\\Microsoft Office\\Office\\Shortcut Bar");
    m_szIcqDir = ReadInstallFolder(L"SOFTWARE\\Mirabilis\\ICQ\\ICQPro\\Install\\General\\InstalledDir");
    // The registered folder is the program's; the installation is two levels up.
    m_szNetscapeDir =
        CutLastComponents(ReadInstallFolder(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Netscape.exe\\Path"), 2);
    m_szOfficeDir = ReadInstallFolder(L"Software\\Microsoft\\Office\\8.0\\Common\\InstallRoot\\Path");
}

void CBriskoDoc::DiscoverBrowserProfiles() {
    m_strMozillaProfile = m_szAppData + L"\\Mozilla\\Profiles\\default";
    AppendFirstMatch(m_strMozillaProfile, L"*.slt");
    m_strFirefoxProfile = ReadFirefoxProfilePath(FindProfileFolder(L"Mozilla\\Firefox"));
    m_strOperaProfile = FindProfileFolder(L"Opera");
    if (FullPathExists(m_strOperaProfile)) {
        AppendFirstMatch(m_strOperaProfile, L"Opera*.*");
        m_strOperaProfile += L"\\profile";
    }
    m_strChromeProfile = FindProfileFolder(L"Google\\Chrome\\User Data\\Default");
}
