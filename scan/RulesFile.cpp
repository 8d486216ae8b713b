#include "scan/RulesFile.h"

#include <cwctype>
#include <unordered_set>

#include "item/ItemPath.h"
#include "scan/RuleVariables.h"
#include "win/Handle.h"
#include "win/Path.h"
#include "win/Text.h"

namespace {

bool Same(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    for (size_t start = 0;;) {
        size_t end = text.find(separator, start);
        parts.push_back(Trimmed(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start)));
        if (end == std::wstring::npos) return parts;
        start = end + 1;
    }
}

// A section's name without the " *" that marks an entry.
std::wstring EntryName(const std::wstring& section) {
    std::wstring name = Trimmed(section);
    if (name.size() >= 2 && name.compare(name.size() - 2, 2, L" *") == 0) name = Trimmed(name.substr(0, name.size() - 2));
    return name;
}

// The group names that the format's LangSecRef numbers stand for.
std::wstring GroupOfNumber(const std::wstring& number) {
    static const struct {
        const wchar_t* number;
        const wchar_t* group;
    } kGroups[] = {{L"3021", L"Applications"}, {L"3022", L"Internet"},     {L"3023", L"Multimedia"},
                   {L"3024", L"Utilities"},    {L"3025", L"Windows"},      {L"3026", L"Firefox"},
                   {L"3027", L"Opera"},        {L"3028", L"Safari"},       {L"3029", L"Google Chrome"},
                   {L"3030", L"Thunderbird"},  {L"3031", L"Windows Store"}};
    for (const auto& entry : kGroups)
        if (number == entry.number) return entry.group;
    return L"Group " + number;
}

// Why the %Variables% inside one step of a folder are refused; empty when
// each is one that may stand there.
std::wstring StepVariablesRefusal(const std::wstring& step) {
    for (size_t open = step.find(L'%'); open != std::wstring::npos; open = step.find(L'%', open + 1)) {
        size_t close = step.find(L'%', open + 1);
        if (close == std::wstring::npos) return L"a '%' without its closing '%'";
        std::wstring name = step.substr(open + 1, close - open - 1);
        if (IsRuleVariable(name)) return L"%" + name + L"% may stand only at the start of a folder";
        if (!IsStepVariable(name)) return L"unknown variable %" + name + L"%";
        open = close;
    }
    return {};
}

// Why a folder of a FileKey, ExcludeKey or DetectFile is refused by its text
// alone; empty when it is not. Machine checks come when the rule is applied.
std::wstring FolderRefusal(const std::wstring& folder) {
    if (folder.empty()) return L"no folder";
    size_t rest = 0;
    if (folder[0] == L'%') {
        size_t close = folder.find(L'%', 1);
        if (close == std::wstring::npos) return L"a '%' without its closing '%'";
        std::wstring name = folder.substr(1, close - 1);
        if (!IsRuleVariable(name)) return L"unknown variable %" + name + L"%";
        rest = close + 1;
        if (folder.find_first_not_of(L'\\', rest) == std::wstring::npos)
            return L"a folder of only a variable: a rule must name a folder below it";
        if (folder[rest] != L'\\') return L"no backslash after %" + name + L"%";
    } else if (!IsFullPath(folder)) {
        return L"neither a %Variable% nor a full path";
    } else {
        rest = folder[0] == L'\\' ? 2 : 3;
    }
    for (const std::wstring& step : Split(folder.substr(rest), L'\\')) {
        if (!step.empty() && step.find_first_not_of(L". ") == std::wstring::npos)
            return L"a '.' or '..' step: a rule may not climb out of its folder";
        if (std::wstring why = StepVariablesRefusal(step); !why.empty()) return why;
        if (step.find_first_of(L"<>\":|") != std::wstring::npos) return L"a step holds one of < > \" : |";
    }
    return {};
}

// The folder with '/' as '\' and no trailing backslash.
std::wstring CleanFolder(std::wstring folder) {
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    while (folder.size() > 1 && folder.back() == L'\\' && !(folder.size() == 3 && folder[1] == L':')) folder.pop_back();
    return folder;
}

// The ';'-separated patterns of a key; a pattern with a folder step in it is refused.
std::wstring ReadPatterns(const std::wstring& text, std::vector<std::wstring>& patterns) {
    for (const std::wstring& pattern : Split(text, L';')) {
        if (pattern.empty()) continue;
        if (pattern.find_first_of(L"\\/:") != std::wstring::npos || pattern == L"." || pattern == L"..")
            return L"a file pattern may not name a folder: \"" + pattern + L"\"";
        patterns.push_back(pattern);
    }
    return patterns.empty() ? L"no file pattern" : L"";
}

// "10.0" as major << 8 | minor.
bool ReadVersion(const std::wstring& text, DWORD& version) {
    unsigned major = 0, minor = 0;
    wchar_t extra = 0;
    int read = swscanf(text.c_str(), L"%u.%u%lc", &major, &minor, &extra);
    if (read < 1 || read > 2 || major > 255 || minor > 255) return false;
    version = major << 8 | minor;
    return true;
}

class CParser {
public:
    RulesFile Parse(const std::wstring& text) {
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find_first_of(L"\r\n", start);
            if (end == std::wstring::npos) end = text.size();
            ++m_line;
            Line(text.substr(start, std::min(end - start, kMaxRuleLine + 1)), end - start);
            start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
        }
        EndEntry();
        return std::move(m_file);
    }

private:
    void Refuse(const std::wstring& why) { RefuseAt(m_line, why); }
    void RefuseAt(int line, const std::wstring& why) {
        if (m_file.problems.size() < kMaxRuleProblems)
            m_file.problems.push_back({line, why});
        else
            ++m_file.problemsNotKept;
    }

    void Line(const std::wstring& raw, size_t length) {
        if (length > kMaxRuleLine) return Refuse(L"longer than " + std::to_wstring(kMaxRuleLine) + L" characters");
        for (wchar_t c : raw)
            if ((c < 32 && c != L'\t') || c == 0xFFFD)
                return Refuse(L"holds control characters or bytes that are no text");
        std::wstring line = Trimmed(raw);
        if (line.empty() || line[0] == L';' || line[0] == L'#') return;
        if (line[0] == L'[') return Section(line);
        size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) return Refuse(L"neither a [section] nor a key=value line");
        if (!m_inEntry) return Refuse(L"a key outside any [section]");
        Key(Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)));
    }

    void Section(const std::wstring& line) {
        EndEntry();
        if (line.back() != L']' || line.size() < 3) return Refuse(L"a section name without its closing ']'");
        if (m_file.entries.size() >= kMaxRuleEntries)
            return Refuse(L"more than " + std::to_wstring(kMaxRuleEntries) + L" entries: this one is left out");
        m_entry = RuleEntry{};
        m_entry.name = EntryName(line.substr(1, line.size() - 2));
        m_entry.line = m_line;
        m_inEntry = true;
    }

    void EndEntry() {
        if (!m_inEntry) return;
        m_inEntry = false;
        // Detection lines that were all left out would make the entry apply on
        // every machine: it applies on none, and says so.
        if (m_detectLines > 0 && m_entry.detectKeys.empty() && m_entry.detectFiles.empty()) {
            m_entry.detectionUndecidable = true;
            m_entry.on = false;
            RefuseAt(m_entry.line, L"[" + m_entry.name + L"] none of its " + std::to_wstring(m_detectLines) +
                                       L" detection lines can be decided here: the entry is off");
        }
        m_detectLines = 0;
        m_file.entries.push_back(std::move(m_entry));
    }

    void Key(const std::wstring& key, const std::wstring& value) {
        // Numbered keys (FileKey1, Detect2, ...) share their name's meaning.
        std::wstring name = key.substr(0, key.find_last_not_of(L"0123456789") + 1);
        if (Same(name, L"FileKey")) return FileKey(value);
        if (Same(name, L"ExcludeKey")) return ExcludeKey(value);
        if (Same(name, L"RegKey")) return RegKey(value);
        if (Same(name, L"Detect")) return DetectKey(value);
        if (Same(name, L"DetectFile")) return DetectFile(value);
        if (Same(name, L"SpecialDetect")) {
            ++m_detectLines;
            return Refuse(L"SpecialDetect: a detection this program cannot decide");
        }
        if (Same(name, L"DetectOS")) return DetectOs(value);
        if (Same(name, L"Section")) return void(m_entry.group = value);
        if (Same(name, L"Warning")) return void(m_entry.warning = value);
        if (Same(name, L"LangSecRef")) {
            if (m_entry.group.empty()) m_entry.group = GroupOfNumber(value);
            return;
        }
        if (Same(name, L"Default")) {
            // Anything but True leaves the entry off: what a user did not
            // choose is never removed on a guess.
            m_entry.byDefault = Same(value, L"True");
            m_entry.on = m_entry.byDefault;
            if (!Same(value, L"True") && !Same(value, L"False"))
                return Refuse(L"Default= is neither True nor False: the entry is off");
        }
        // Any other key means nothing here.
    }

    void FileKey(const std::wstring& value) {
        std::vector<std::wstring> parts = Split(value, L'|');
        RuleFileKey file;
        file.folder = CleanFolder(parts[0]);
        if (std::wstring why = FolderRefusal(file.folder); !why.empty()) return Refuse(L"FileKey: " + why);
        if (parts.size() < 2) return Refuse(L"FileKey: no file pattern");
        if (std::wstring why = ReadPatterns(parts[1], file.patterns); !why.empty()) return Refuse(L"FileKey: " + why);
        for (size_t i = 2; i < parts.size(); ++i) {
            if (Same(parts[i], L"RECURSE"))
                file.recurse = true;
            else if (Same(parts[i], L"REMOVESELF"))
                file.removeSelf = true;
            else if (!parts[i].empty())
                return Refuse(L"FileKey: unknown flag \"" + parts[i] + L"\"");
        }
        m_entry.files.push_back(std::move(file));
    }

    // A key whole, or "key|value" for one value of it, where a rule may reach.
    void RegKey(const std::wstring& value) {
        std::optional<RegistryRow> row = ParseRegistryRow(value);
        if (!row) return Refuse(L"RegKey: only keys of HKCU or HKLM are cleaned: \"" + value + L"\"");
        if (std::wstring why = RegistryRowRefusal(*row); !why.empty())
            return Refuse(L"RegKey: " + why + L": \"" + value + L"\"");
        m_entry.registryKeys.push_back(std::move(*row));
    }

    void ExcludeKey(const std::wstring& value) {
        std::vector<std::wstring> parts = Split(value, L'|');
        RuleExclude exclude;
        if (Same(parts[0], L"PATH"))
            exclude.wholeTree = true;
        else if (!Same(parts[0], L"FILE"))
            return Refuse(L"ExcludeKey: neither FILE| nor PATH|");
        if (parts.size() < 2) return Refuse(L"ExcludeKey: no folder");
        exclude.folder = CleanFolder(parts[1]);
        if (std::wstring why = FolderRefusal(exclude.folder); !why.empty()) return Refuse(L"ExcludeKey: " + why);
        if (parts.size() > 2 && !parts[2].empty()) {
            if (std::wstring why = ReadPatterns(parts[2], exclude.patterns); !why.empty())
                return Refuse(L"ExcludeKey: " + why);
        } else if (!exclude.wholeTree) {
            return Refuse(L"ExcludeKey: FILE| needs a file pattern");
        }
        m_entry.excludes.push_back(std::move(exclude));
    }

    void DetectKey(const std::wstring& value) {
        ++m_detectLines;
        if (!LooksLikeRegistryRow(value)) return Refuse(L"Detect: not a registry key: \"" + value + L"\"");
        m_entry.detectKeys.push_back(value);
    }

    void DetectFile(const std::wstring& value) {
        ++m_detectLines;
        std::wstring folder = CleanFolder(value);
        if (std::wstring why = FolderRefusal(folder); !why.empty()) return Refuse(L"DetectFile: " + why);
        m_entry.detectFiles.push_back(folder);
    }

    // "6.2|" from 6.2 on, "|6.1" up to 6.1, "6.1|6.3" between, "10.0" that one only.
    void DetectOs(const std::wstring& value) {
        std::vector<std::wstring> ends = Split(value, L'|');
        DWORD low = 0, high = 0xFFFF;
        bool good = ends.size() == 1 ? ReadVersion(ends[0], low) && (high = low, true)
                                     : ends.size() == 2 && (!ends[0].empty() || !ends[1].empty()) &&
                                           (ends[0].empty() || ReadVersion(ends[0], low)) &&
                                           (ends[1].empty() || ReadVersion(ends[1], high));
        if (!good) return Refuse(L"DetectOS: not a version range such as 6.2| or |6.1");
        m_entry.hasOsRange = true;
        m_entry.osLow = low;
        m_entry.osHigh = high;
    }

    RulesFile m_file;
    RuleEntry m_entry;
    bool m_inEntry = false;
    int m_line = 0;
    int m_detectLines = 0;  // of the entry in hand, usable or not
};

}  // namespace

RulesFile ParseRules(const std::wstring& text) { return CParser().Parse(text); }

std::wstring DecodeRulesBytes(const std::string& bytes) {
    if (bytes.size() >= 2 && (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)) {
        bool bigEndian = bytes[0] == '\xFE';
        std::wstring text;
        text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            unsigned char a = bytes[i], b = bytes[i + 1];
            text += static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
        }
        return text;
    }
    std::string body = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
    bool utf8 = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(), static_cast<int>(body.size()),
                                      nullptr, 0) > 0;
    return win::ToWide(body, utf8 ? CP_UTF8 : CP_ACP);
}

namespace {

// A device ("NUL", "CON", a pipe) reads as an empty or endless file, and a
// folder as none: only a plain file on a disk is a rules file.
bool IsPlainFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring LastStep(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<std::wstring> ReadRulesText(const std::wstring& path, std::wstring& why) {
    if (IsDeviceName(LastStep(path))) {
        why = path + L" is a device, not a rules file";
        return std::nullopt;
    }
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file && !IsPlainFile(file.Get())) {
        why = path + L" is not a plain file: not a rules file";
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size)) {
        why = L"cannot read " + path;
        return std::nullopt;
    }
    if (static_cast<ULONGLONG>(size.QuadPart) > kMaxRulesFileBytes) {
        why = path + L" is larger than " + std::to_wstring(kMaxRulesFileBytes >> 20) + L" MB: not a rules file";
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        why = L"cannot read " + path;
        return std::nullopt;
    }
    return DecodeRulesBytes(bytes);
}

RulesFile ReadRulesFile(const std::wstring& path) {
    std::wstring why;
    std::optional<std::wstring> text = ReadRulesText(path, why);
    if (text) return ParseRules(*text);
    RulesFile refused;
    refused.readable = false;
    refused.problems.push_back({0, why});
    return refused;
}

std::vector<std::wstring> EntryNamesInText(const std::wstring& text) {
    std::vector<std::wstring> names;
    for (const std::wstring& line : Split(text, L'\n')) {
        std::wstring name = Trimmed(line.empty() || line.back() != L'\r' ? line : line.substr(0, line.size() - 1));
        if (!name.empty() && name[0] != L';' && name[0] != L'#') names.push_back(name);
    }
    return names;
}

namespace {

// A name as the file writes its section, " *" and all, names the entry too.
bool NamesEntry(const std::wstring& name, const RuleEntry& entry) {
    return Same(entry.name, EntryName(name).c_str());
}


}  // namespace

std::vector<std::wstring> ChooseRuleEntries(RulesFile& rules, const std::vector<std::wstring>& names) {
    std::vector<std::wstring> unknown;
    for (const std::wstring& name : names) {
        bool known = false;
        for (const RuleEntry& entry : rules.entries) known = known || NamesEntry(name, entry);
        if (!known) unknown.push_back(name);
    }
    if (unknown.empty()) TurnOnNamedEntries(rules, names);
    return unknown;
}

void TurnOnNamedEntries(RulesFile& rules, const std::vector<std::wstring>& names) {
    // A remembered choice may name thousands of entries of a file of thousands.
    std::unordered_set<std::wstring> chosen;
    for (const std::wstring& name : names) chosen.insert(win::CaseFolded(EntryName(name)));
    for (RuleEntry& entry : rules.entries) entry.on = chosen.count(win::CaseFolded(entry.name)) > 0;
}

void ChooseAllRuleEntries(RulesFile& rules) {
    for (RuleEntry& entry : rules.entries) entry.on = true;
}

std::vector<std::wstring> RuleEntryNames(const RulesFile& rules) {
    std::vector<std::wstring> names;
    names.reserve(rules.entries.size());
    for (const RuleEntry& entry : rules.entries) names.push_back(entry.name);
    return names;
}

std::wstring RuleEntryNameOf(const std::vector<std::wstring>& names, std::uint16_t rule) {
    return rule > 0 && rule <= names.size() ? names[rule - 1] : std::wstring();
}

std::wstring RuleProblemText(const RuleProblem& problem) {
    return problem.line == 0 ? problem.text : L"line " + std::to_wstring(problem.line) + L": " + problem.text;
}
