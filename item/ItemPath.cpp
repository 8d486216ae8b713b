#include "item/ItemPath.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "win/Handle.h"
#include "win/Path.h"
#include "win/ProcessWide.h"

namespace {


// Characters no name of a file or folder holds: wildcards would make the
// entry look-up match another entry, and ':' would name a stream.
bool HasForbiddenCharacter(const std::wstring& path, size_t from) {
    for (size_t i = from; i < path.size(); ++i) {
        wchar_t c = path[i];
        if (c < 32 || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|' || c == L':')
            return true;
    }
    return false;
}

// "X:\" or "\\server\share" and the length of the spelling it takes; 0 for
// anything else (relative paths, "X:name", devices).
size_t RootLength(const std::wstring& path) {
    if (path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\') return 3;
    if (path.rfind(L"\\\\", 0) != 0 || path.size() < 5) return 0;
    size_t server = path.find(L'\\', 2);
    if (server == std::wstring::npos || server == 2) return 0;
    size_t share = path.find(L'\\', server + 1);
    if (share == server + 1) return 0;
    return share == std::wstring::npos ? path.size() : share;
}

// The steps after the root, with empty and "." steps dropped and ".." steps
// taken back (never above the root), as the platform reads a full path.
std::vector<std::wstring> Steps(const std::wstring& path, size_t from) {
    std::vector<std::wstring> steps;
    size_t start = from;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        std::wstring step = path.substr(start, end - start);
        // The platform drops the trailing blanks and dots of a step, so "."
        // and "..." name the folder they stand in.
        size_t last = step.find_last_not_of(L". ");
        if (step == L"..") {
            if (!steps.empty()) steps.pop_back();
        } else if (last != std::wstring::npos) {
            steps.push_back(step.substr(0, last + 1));
        }
        start = end + 1;
    }
    return steps;
}

}  // namespace

bool IsDeviceName(const std::wstring& step) {
    std::wstring base = step.substr(0, step.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (_wcsicmp(base.c_str(), device) == 0) return true;
    return base.size() == 4 && (_wcsnicmp(base.c_str(), L"COM", 3) == 0 || _wcsnicmp(base.c_str(), L"LPT", 3) == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

bool IsNameNoPathReaches(const std::wstring& name) {
    if (name.empty() || IsDotEntry(name.c_str())) return false;
    return IsDeviceName(name) || name.back() == L'.' || name.back() == L' ';
}

bool IsPlainFullPath(const std::wstring& spelling) {
    if (RootLength(spelling) != 3 || spelling.size() == 3 || HasForbiddenCharacter(spelling, 2)) return false;
    for (size_t start = 3; start <= spelling.size();) {
        size_t end = std::min(spelling.find_first_of(L"\\/", start), spelling.size());
        const std::wstring step = spelling.substr(start, end - start);
        if (step.empty() || step.back() == L'.' || step.back() == L' ' || step.find(L'~') != std::wstring::npos ||
            IsDeviceName(step) || (end < spelling.size() && spelling[end] == L'/'))
            return false;
        start = end + 1;
    }
    return true;
}

std::wstring CanonicalItem::Name() const {
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ItemKey(const std::wstring& spelling) {
    std::wstring key = NormaliseFolderPath(spelling);
    if (key.find(L'~') != std::wstring::npos)
        if (std::optional<CanonicalItem> item = CanonicalItemPath(key); item && item->exists) key = item->path;
    if (!key.empty()) ::CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}


namespace {

// The item after the next step below the folder `item`: its entry's long name
// in the file system's letter case. False when the step leads nowhere.
enum class Step { Found, Missing, Nowhere };
// True when the last step can be taken from the file's attributes alone: no
// short (8.3) name may hide in it, and it is no cache index, whose exact
// name matters.
bool AttributesSuffice(const std::wstring& step) {
    return step.find(L'~') == std::wstring::npos && _wcsicmp(step.c_str(), L"index.dat") != 0;
}

Step TakeStep(CanonicalItem& item, const std::wstring& step, bool last) {
    if (!item.IsFolder()) return Step::Nowhere;  // a file or a missing step on the way
    std::wstring spelled = JoinPath(item.path, step);
    if (last && AttributesSuffice(step)) {
        // A directory search costs a walk of the whole folder under Wine;
        // the attributes of one path do not.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (::GetFileAttributesExW(ApiPath(spelled).c_str(), GetFileExInfoStandard, &data)) {
            item.path = spelled;
            item.attributes = data.dwFileAttributes;
            return Step::Found;
        }
    }
    WIN32_FIND_DATAW entry;
    win::FindHandle search(::FindFirstFileW(ApiPath(spelled).c_str(), &entry));
    if (!search) {
        DWORD error = ::GetLastError();
        if (!last || (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)) return Step::Nowhere;
        item.path = spelled;
        item.exists = false;
        item.attributes = 0;
        return Step::Missing;
    }
    item.path = JoinPath(item.path, entry.cFileName);
    item.attributes = entry.dwFileAttributes;
    return Step::Found;
}

// The folders resolved lately on this thread, by their spellings: the rows
// of a clean mostly share their folders, and each step costs a directory
// search. A folder changed since is no danger: the link test of the item
// compares its final path with the whole canonical one. Only the folder of
// the last item is kept, unless a CResolvedFoldersKept lives on the thread:
// then every folder on the way is, for any later path through it.
class CResolvedFolders {
public:
    // The deepest folder known above the last step of `steps` ("spellings"
    // are those of the folders on the way), and the index of the first step
    // left to take; 0 when none is known.
    size_t Deepest(const std::vector<std::wstring>& spellings, CanonicalItem& folder) const {
        size_t lowest = m_keepers > 0 ? 1 : spellings.size();
        for (size_t count = spellings.size(); count >= lowest && count > 0; --count)
            if (auto found = m_folders.find(spellings[count - 1]); found != m_folders.end()) {
                folder = found->second;
                return count;
            }
        return 0;
    }
    // Keeps the folder reached after step `index` of a path `steps` long.
    void Keep(const std::wstring& spelling, const CanonicalItem& folder, size_t index, size_t steps) {
        if (m_keepers == 0 && index + 2 != steps) return;
        if (m_keepers == 0 || m_folders.size() >= kMostKept) m_folders.clear();
        m_folders.insert_or_assign(spelling, folder);
    }
    bool Keeping() const { return m_keepers > 0; }
    void AddKeeper() { ++m_keepers; }
    void DropKeeper() {
        if (--m_keepers == 0) m_folders.clear();
    }
    // The spellings of the folders on the way to the last step: the root
    // and the first step, the root and two, ...
    static std::vector<std::wstring> Spellings(const std::wstring& root, const std::vector<std::wstring>& steps) {
        std::vector<std::wstring> spellings;
        std::wstring spelling = root;
        for (size_t i = 0; i + 1 < steps.size(); ++i) spellings.push_back(spelling += L"\\" + steps[i]);
        return spellings;
    }

private:
    static constexpr size_t kMostKept = 4096;
    std::unordered_map<std::wstring, CanonicalItem> m_folders;
    int m_keepers = 0;
};

}  // namespace

std::optional<CanonicalItem> CanonicalItemPath(const std::wstring& spelling) {
    std::wstring text = WithoutLongPrefix(spelling);
    for (wchar_t& c : text)
        if (c == L'/') c = L'\\';
    size_t rootLength = RootLength(text);
    if (rootLength == 0 || HasForbiddenCharacter(text, rootLength == 3 ? 2 : 0)) return std::nullopt;
    std::vector<std::wstring> steps = Steps(text, rootLength);
    for (const std::wstring& step : steps)
        if (IsDeviceName(step)) return std::nullopt;

    const std::wstring root = text.substr(0, rootLength);
    const std::vector<std::wstring> spellings = CResolvedFolders::Spellings(root, steps);
    CanonicalItem item;
    CResolvedFolders& resolved = win::ThisThread<CResolvedFolders>();
    size_t next = resolved.Deepest(spellings, item);
    if (next == 0) {
        item.path = root;
        if (rootLength == 3) item.path[0] = towupper(item.path[0]);
        DWORD rootAttributes = ::GetFileAttributesW((rootLength == 3 ? item.path : item.path + L"\\").c_str());
        if (rootAttributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        item.exists = true;
        item.attributes = rootAttributes;
    }
    for (size_t i = next; i < steps.size(); ++i) {
        if (i > 0 && (item.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) item.viaReparse = true;
        bool last = i + 1 == steps.size();
        Step step = TakeStep(item, steps[i], last);
        if (step == Step::Nowhere) return std::nullopt;
        if (step == Step::Missing) return item;
        if (!last && item.IsFolder()) resolved.Keep(spellings[i], item, i, steps.size());
    }
    return item;
}

void KeepResolvedFolder(const std::wstring& spelling, const std::wstring& finalPath) {
    CResolvedFolders& resolved = win::ThisThread<CResolvedFolders>();
    if (!resolved.Keeping()) return;
    std::wstring text = WithoutLongPrefix(spelling);
    for (wchar_t& c : text)
        if (c == L'/') c = L'\\';
    const size_t rootLength = RootLength(text);
    if (rootLength == 0) return;
    std::vector<std::wstring> steps = Steps(text, rootLength);
    if (steps.empty()) return;
    steps.emplace_back();  // the folder as one on the way to what lies below it
    CanonicalItem folder;
    folder.path = WithoutLongPrefix(finalPath);
    folder.exists = true;
    folder.attributes = FILE_ATTRIBUTE_DIRECTORY;
    resolved.Keep(CResolvedFolders::Spellings(text.substr(0, rootLength), steps).back(), folder, steps.size() - 2,
                  steps.size());
}

CResolvedFoldersKept::CResolvedFoldersKept() { win::ThisThread<CResolvedFolders>().AddKeeper(); }

CResolvedFoldersKept::~CResolvedFoldersKept() { win::ThisThread<CResolvedFolders>().DropKeeper(); }

std::wstring NormaliseFolderPath(const std::wstring& path) {
    if (path.empty()) return {};
    std::wstring text = WithoutLongPrefix(path);
    for (wchar_t& c : text)
        if (c == L'/') c = L'\\';
    // A bare "X:" means the current folder of that drive to the platform; here it names the drive.
    if (text.size() == 2 && text[1] == L':') text += L'\\';
    text = WithoutLongPrefix(CurrentFullPath(text));
    // Keep "X:\" whole; any other trailing backslash goes.
    while (text.size() > 3 && text.back() == L'\\') text.pop_back();
    if (text.size() == 2 && text[1] == L':') text += L'\\';
    return text;
}
