#include "i18n/Lang.h"

#include "i18n/Ini.h"
#include "win/Text.h"

namespace {
const CIni* g_ini = nullptr;
const std::wstring* g_language = nullptr;
}  // namespace

void BindLanguage(const CIni* ini, const std::wstring* language) {
    g_ini = ini;
    g_language = language;
}

std::wstring GetLangString(const std::wstring& section, const std::wstring& key, const std::wstring& def) {
    return g_ini ? g_ini->GetString(section, key, def) : def;
}

bool IsDefaultLanguage() { return !g_language || *g_language == kDefaultLanguage; }

std::wstring GetUiText(const std::wstring& section, const std::wstring& key, const std::wstring& builtIn) {
    return IsDefaultLanguage() ? builtIn : GetLangString(section, key, builtIn);
}

std::wstring LoadResPrefix(UINT id) {
    std::wstring text = win::LoadResString(id);
    size_t lf = text.find(L'\n');
    return lf == std::wstring::npos ? text : text.substr(0, lf);
}

std::wstring LoadResSuffix(UINT id, wchar_t c) {
    std::wstring text = win::LoadResString(id);
    size_t at = text.rfind(c);
    return at == std::wstring::npos ? text : text.substr(at + 1);
}
