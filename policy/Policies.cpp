#include "policy/Policies.h"

#include <algorithm>
#include <set>

#include "i18n/LangTexts.h"
#include "win/Handle.h"
#include "win/Path.h"
#include "win/ProcessWide.h"

namespace {

const wchar_t kIgnored[] = L"; that entry is ignored";

constexpr PolicyValue kValues[] = {
    {L"RulesFile", PolicyForm::Text},      {L"RecycleOnly", PolicyForm::Flag}, {L"ExcludePaths", PolicyForm::List},
    {L"KeepCookies", PolicyForm::List},    {L"DisablePrivacy", PolicyForm::Flag},
};
// More than any sensible list; a larger value is refused rather than read.
constexpr DWORD kMostBytes = 256 * 1024;

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

std::optional<RawValue> ReadRaw(HKEY root, const wchar_t* name, std::wstring& problem) {
    win::RegKey key;
    if (::RegOpenKeyExW(root, kPolicyKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return std::nullopt;
    RawValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (size > kMostBytes) {
        problem = L"larger than " + std::to_wstring(kMostBytes / 1024) + L" KB";
        return value;
    }
    value.bytes.resize(size);
    if (::RegQueryValueExW(key.Get(), name, nullptr, nullptr, value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

std::wstring Expanded(const std::wstring& text) {
    DWORD n = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (n == 0) return text;
    std::wstring out(n, L'\0');
    n = ::ExpandEnvironmentStringsW(text.c_str(), out.data(), n);
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}

// The strings of a value's bytes, split at NULs; empty strings dropped.
std::vector<std::wstring> Strings(const RawValue& value) {
    std::wstring all(reinterpret_cast<const wchar_t*>(value.bytes.data()), value.bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> out;
    for (size_t start = 0; start < all.size();) {
        size_t end = std::min(all.find(L'\0', start), all.size());
        if (end > start) out.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool IsSiteName(const std::wstring& site) {
    if (site.empty() || site.size() > 253) return false;
    return std::all_of(site.begin(), site.end(), [](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'_';
    });
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

// Takes one value into `policies`; "" when it was taken, else why it was not.
// Entries of a list that cannot be used are told one by one in `entries`.
std::wstring Take(const PolicyValue& what, const RawValue& value, Policies& policies,
                  std::vector<std::wstring>& entries) {
    std::wstring name = what.name;
    switch (what.form) {
    case PolicyForm::Flag: {
        DWORD number = 0;
        if (value.type != REG_DWORD || value.bytes.size() != sizeof(DWORD)) return L"not a number (REG_DWORD)";
        memcpy(&number, value.bytes.data(), sizeof(number));
        if (number > 1) return std::to_wstring(number) + L" is out of range (0 or 1)";
        (name == L"RecycleOnly" ? policies.recycleOnly : policies.privacyDisabled) = number == 1;
        return {};
    }
    case PolicyForm::Text: {
        if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return L"not a text (REG_SZ)";
        std::vector<std::wstring> texts = Strings(value);
        std::wstring path = texts.empty() ? std::wstring() : Expanded(texts[0]);
        if (!IsFullPath(path)) return L"\"" + path + L"\" is not a full path";
        policies.rulesFile = path;
        return {};
    }
    case PolicyForm::List:
        if (value.type != REG_MULTI_SZ) return L"not a list of texts (REG_MULTI_SZ)";
        for (const std::wstring& text : Strings(value)) {
            if (name == L"ExcludePaths") {
                PathExclusions::Added added = policies.excluded.Add(Expanded(text));
                if (added == PathExclusions::Added::Refused)
                    entries.push_back(L"\"" + text + L"\" is not a full path with wildcards in its last step only" +
                                      kIgnored);
                else if (added == PathExclusions::Added::Unresolved)
                    entries.push_back(FillInLangText(LangId::NoticeExcludeUnresolved, {L"\"" + text + L"\""}));
            } else if (IsSiteName(Lower(text))) {
                policies.keepCookies.push_back(Lower(text));
            } else {
                entries.push_back(L"\"" + text + L"\" is not a site name" + kIgnored);
            }
        }
        return {};
    }
    return {};
}

std::wstring ScopeName(bool machine) { return machine ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER"; }

// The policies last read, and the problems already told, for the whole process.
struct PolicyCache {
    std::shared_ptr<const Policies> current;
    std::set<std::wstring> told;
};
win::Guarded<PolicyCache>& Cache() { return win::ProcessWide<PolicyCache>(); }

}  // namespace

std::span<const PolicyValue> PolicyValues() { return kValues; }

Policies ReadPolicies(HKEY machine, HKEY user) {
    Policies policies;
    for (const PolicyValue& what : kValues) {
        for (bool isMachine : {true, false}) {
            std::wstring problem;
            std::optional<RawValue> value = ReadRaw(isMachine ? machine : user, what.name, problem);
            if (!value) continue;
            std::vector<std::wstring> entries;
            if (problem.empty()) problem = Take(what, *value, policies, entries);
            std::wstring where = L"policy " + std::wstring(what.name) + L" (" + ScopeName(isMachine) + L"): ";
            for (const std::wstring& entry : entries) policies.problems.push_back(where + entry);
            if (problem.empty()) break;  // the machine's value wins over the user's
            policies.problems.push_back(where + problem + L"; the value is ignored");
        }
    }
    return policies;
}

std::shared_ptr<const Policies> CurrentPolicies() {
    std::shared_ptr<const Policies> current = Cache().With([](PolicyCache& cache) { return cache.current; });
    return current ? current : RefreshPolicies();
}

std::shared_ptr<const Policies> RefreshPolicies() {
    auto fresh = std::make_shared<const Policies>(ReadPolicies());
    Cache().With([&fresh](PolicyCache& cache) { cache.current = fresh; });
    return fresh;
}

std::vector<std::wstring> UntoldPolicyProblems(const Policies& policies) {
    return Cache().With([&policies](PolicyCache& cache) {
        std::vector<std::wstring> untold;
        for (const std::wstring& problem : policies.problems)
            if (cache.told.insert(problem).second) untold.push_back(problem);
        return untold;
    });
}
