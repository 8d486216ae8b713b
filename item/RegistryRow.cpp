#include "item/RegistryRow.h"

#include "win/Path.h"

namespace {

const struct {
    const wchar_t* shortName;
    const wchar_t* longName;
    HKEY root;
} kRoots[] = {{L"HKCU", L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
              {L"HKLM", L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}};

bool Same(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

}  // namespace

std::wstring RegistryRow::Key() const {
    std::wstring key;
    for (const std::wstring& step : steps) key += (key.empty() ? L"" : L"\\") + step;
    return key;
}

std::wstring RegistryRowText(const RegistryRow& row) {
    std::wstring text;
    for (const auto& known : kRoots)
        if (known.root == row.root) text = known.longName;
    text += L"\\" + row.Key();
    return row.wholeKey ? text : text + L"|" + row.value;
}

std::optional<RegistryRow> ParseRegistryRow(const std::wstring& text) {
    size_t slash = text.find(L'\\');
    if (slash == std::wstring::npos) return std::nullopt;
    const std::wstring rootName = text.substr(0, slash);
    RegistryRow row;
    for (const auto& known : kRoots)
        if (Same(rootName, known.shortName) || Same(rootName, known.longName)) row.root = known.root;
    if (!row.root) return std::nullopt;
    std::wstring rest = text.substr(slash + 1);
    if (size_t bar = rest.find(L'|'); bar != std::wstring::npos) {
        row.wholeKey = false;
        row.value = rest.substr(bar + 1);
        rest.resize(bar);
    }
    row.steps = PathSteps(rest);
    return row;
}

bool LooksLikeRegistryRow(const std::wstring& text) {
    std::wstring first = text.substr(0, text.find(L'\\'));
    return first.size() < text.size() && (_wcsnicmp(first.c_str(), L"HKEY_", 5) == 0 || Same(first, L"HKCU") ||
                                          Same(first, L"HKLM") || Same(first, L"HKCR") || Same(first, L"HKU") ||
                                          Same(first, L"HKCC"));
}

namespace {

// Below Microsoft a product's own key holds the user's settings of that
// product, and the shell's and system's keys hold the system's: those of
// Windows and Windows NT go whole only from four levels below Microsoft
// (CurrentVersion\Explorer\RecentDocs), any other product's from two.
bool IsSystemsOwnKey(const std::vector<std::wstring>& steps, size_t vendor) {
    if (steps.size() <= vendor || !Same(steps[vendor], L"Microsoft")) return false;
    const size_t belowMicrosoft = steps.size() - vendor - 1;
    const bool system = belowMicrosoft > 0 && (Same(steps[vendor + 1], L"Windows") || Same(steps[vendor + 1], L"Windows NT"));
    return belowMicrosoft < (system ? 4u : 2u);
}

}  // namespace

std::wstring RegistryRowRefusal(const RegistryRow& row) {
    for (const std::wstring& step : row.steps) {
        if (step == L"." || step == L"..") return L"a '.' or '..' step";
        if (step.find_first_of(L"*?") != std::wstring::npos) return L"a wildcard in a key";
    }
    if (row.steps.empty() || !Same(row.steps[0], L"Software")) return L"not a key under Software";
    // The keys of 32-bit programs stand below Wow6432Node as the others below Software.
    size_t vendor = row.steps.size() > 1 && Same(row.steps[1], L"Wow6432Node") ? 2 : 1;
    if (row.steps.size() > vendor && Same(row.steps[vendor], L"Policies")) return L"a key of the policies";
    if (row.steps.size() > vendor && Same(row.steps[vendor], L"Classes")) {
        if (row.steps.size() == vendor + 1) return L"the whole Classes key";
        ++vendor;  // below Classes, a class is what a vendor is below Software
    }
    const size_t below = row.steps.size() - vendor;
    if (below == 0) return row.wholeKey ? L"the whole Software key" : L"a value of Software itself";
    if (row.wholeKey && below == 1) return L"a vendor's root key, whole";
    if (row.wholeKey && IsSystemsOwnKey(row.steps, vendor)) return L"a key the system keeps, whole";
    return {};
}
