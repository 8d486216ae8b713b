#include "i18n/LanguageChoice.h"

#include <windows.h>

#include "win/Path.h"
#include "win/Registry.h"

std::wstring ReadUserName() {
    wchar_t name[260] = {};
    DWORD size = 260;
    if (!::GetUserNameW(name, &size)) return {};
    return name;
}

std::wstring GetLangFolder() { return JoinPath(ProgramFolder(), L"lang"); }

std::wstring LanguageFileForLayout(const std::wstring& layout) {
    struct Entry {
        const wchar_t* layout;
        const wchar_t* file;
    };
    static const Entry kTable[] = {
        {L"00000804", L"\\s_chinese.lng"}, {L"00000404", L"\\t_chinese.lng"}, {L"00000C04", L"\\t_chinese.lng"},
        {L"00000410", L"\\italiano.lng"},  {L"00000810", L"\\italiano.lng"},
    };
    for (const Entry& entry : kTable)
        if (layout == entry.layout) return entry.file;
    return {};
}

std::wstring ChooseDefaultLanguage(const std::wstring& current) {
    std::optional<win::RegistryText> preload = win::ReadRegistryText(HKEY_CURRENT_USER, L"Keyboard Layout\\Preload", L"1");
    std::wstring layout = preload ? preload->text : L"null";
    std::wstring file = LanguageFileForLayout(layout);
    return file.empty() ? current : GetLangFolder() + file;
}
