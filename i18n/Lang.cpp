#include "i18n/Lang.h"

#include "i18n/Ini.h"
#include "win/ProcessWide.h"
#include "win/Text.h"

namespace {
// The application's language file and setting that every lookup reads, from any thread.
struct LanguageBinding {
    const CIni* ini = nullptr;
    const std::wstring* language = nullptr;
};

win::Guarded<LanguageBinding>& Binding() { return win::ProcessWide<LanguageBinding>(); }
}  // namespace

void BindLanguage(const CIni* ini, const std::wstring* language) {
    Binding().With([&](LanguageBinding& binding) { binding = {ini, language}; });
}

std::wstring GetLangString(const std::wstring& section, const std::wstring& key, const std::wstring& def) {
    return Binding().With([&](const LanguageBinding& binding) {
        return binding.ini ? binding.ini->GetString(section, key, def) : def;
    });
}

bool IsDefaultLanguage() {
    return Binding().With(
        [](const LanguageBinding& binding) { return !binding.language || *binding.language == kDefaultLanguage; });
}

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
