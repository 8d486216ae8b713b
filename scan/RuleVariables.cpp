#include "scan/RuleVariables.h"

#include <shlobj.h>

#include "win/Path.h"

namespace {

enum class Source { Special, Environment, Windows, SystemDrive, LocalLow };

struct Variable {
    const wchar_t* name;
    Source source;
    int csidl;                 // Special
    const wchar_t* variables;  // Environment: names tried in order, ';' between
    int alsoCsidl = -1;        // Special: a second folder the name stands for too
};

const Variable kVariables[] = {
    {L"LocalAppData", Source::Special, CSIDL_LOCAL_APPDATA, nullptr},
    {L"LocalLowAppData", Source::LocalLow, 0, nullptr},
    {L"AppData", Source::Special, CSIDL_APPDATA, nullptr},
    {L"UserProfile", Source::Special, CSIDL_PROFILE, nullptr},
    {L"Documents", Source::Special, CSIDL_PERSONAL, nullptr},
    {L"Desktop", Source::Special, CSIDL_DESKTOPDIRECTORY, nullptr},
    {L"Pictures", Source::Special, CSIDL_MYPICTURES, nullptr},
    {L"Music", Source::Special, CSIDL_MYMUSIC, nullptr},
    {L"Video", Source::Special, CSIDL_MYVIDEO, nullptr},
    {L"CommonAppData", Source::Special, CSIDL_COMMON_APPDATA, nullptr},
    {L"ProgramData", Source::Special, CSIDL_COMMON_APPDATA, nullptr},
    // As rules files mean it: both folders of programs on 64-bit Windows.
    {L"ProgramFiles", Source::Special, CSIDL_PROGRAM_FILES, nullptr, CSIDL_PROGRAM_FILESX86},
    {L"ProgramFiles(x86)", Source::Special, CSIDL_PROGRAM_FILESX86, nullptr},
    {L"CommonProgramFiles", Source::Special, CSIDL_PROGRAM_FILES_COMMON, nullptr, CSIDL_PROGRAM_FILES_COMMONX86},
    {L"Public", Source::Environment, 0, L"PUBLIC"},
    {L"Temp", Source::Environment, 0, L"TEMP;TMP"},
    {L"WinDir", Source::Windows, 0, nullptr},
    {L"SystemRoot", Source::Windows, 0, nullptr},
    {L"SystemDrive", Source::SystemDrive, 0, nullptr},
};

const Variable* Find(const std::wstring& name) {
    for (const Variable& variable : kVariables)
        if (_wcsicmp(variable.name, name.c_str()) == 0) return &variable;
    return nullptr;
}

std::optional<std::wstring> FromEnvironment(const wchar_t* names, const ISystemInfo& system) {
    std::wstring list = names;
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(L';', start);
        if (end == std::wstring::npos) end = list.size();
        if (auto value = system.Environment(list.substr(start, end - start)); value && !value->empty()) return value;
        start = end + 1;
    }
    return std::nullopt;
}

std::wstring Lookup(const Variable& variable, const ISystemInfo& system) {
    switch (variable.source) {
    case Source::Special: return system.SpecialFolder(variable.csidl);
    case Source::Environment: return FromEnvironment(variable.variables, system).value_or(L"");
    case Source::Windows: return system.WindowsFolder();
    case Source::SystemDrive: {
        std::wstring windows = system.WindowsFolder();
        return windows.size() >= 2 && windows[1] == L':' ? windows.substr(0, 2) + L"\\" : std::wstring();
    }
    case Source::LocalLow: {
        // LocalLow stands beside Local and has no folder number of its own.
        std::wstring local = system.SpecialFolder(CSIDL_LOCAL_APPDATA);
        return local.empty() ? local : JoinPath(ParentOf(local), L"LocalLow");
    }
    }
    return {};
}

void AddFolder(std::wstring folder, std::vector<std::wstring>& folders) {
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    if (!IsFullPath(folder)) return;
    for (const std::wstring& known : folders)
        if (_wcsicmp(known.c_str(), folder.c_str()) == 0) return;
    folders.push_back(folder);
}

}  // namespace

bool IsRuleVariable(const std::wstring& name) { return Find(name) != nullptr; }

bool IsStepVariable(const std::wstring& name) { return _wcsicmp(name.c_str(), L"UserName") == 0; }

std::optional<std::wstring> ExpandStepVariables(const std::wstring& folder, const ISystemInfo& system) {
    std::wstring expanded;
    for (size_t start = 0;;) {
        size_t open = folder.find(L'%', start);
        size_t close = open == std::wstring::npos ? open : folder.find(L'%', open + 1);
        if (close == std::wstring::npos) return expanded + folder.substr(start);
        std::wstring name = folder.substr(open + 1, close - open - 1);
        expanded += folder.substr(start, open - start);
        if (!IsStepVariable(name)) {
            expanded += L'%' + name + L'%';  // a leading folder variable, resolved by the caller
        } else {
            std::optional<std::wstring> value = system.Environment(L"USERNAME");
            if (!value || value->empty() || value->find_first_of(L"\\/:*?<>|\"%") != std::wstring::npos ||
                value->find_first_not_of(L". ") == std::wstring::npos)
                return std::nullopt;
            expanded += *value;
        }
        start = close + 1;
    }
}

std::vector<std::wstring> RuleVariableFolders(const std::wstring& name, const ISystemInfo& system) {
    std::vector<std::wstring> folders;
    const Variable* variable = Find(name);
    if (!variable) return folders;
    AddFolder(Lookup(*variable, system), folders);
    if (variable->alsoCsidl >= 0) AddFolder(system.SpecialFolder(variable->alsoCsidl), folders);
    return folders;
}

std::vector<std::wstring> RuleRoots(const ISystemInfo& system) {
    std::vector<std::wstring> roots;
    for (const Variable& variable : kVariables)
        for (const std::wstring& folder : RuleVariableFolders(variable.name, system))
            if (folder.size() > 3) roots.push_back(folder);
    return roots;
}
