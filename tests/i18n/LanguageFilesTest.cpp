// The shipped language files against the program's one table of lookups.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "i18n/LangTexts.h"
#include "i18n/LanguageChoice.h"
#include "support/TestSupport.h"
#include "win/Text.h"

namespace {
// The entries of a double-null-terminated list as the profile reader gives it.
std::vector<std::wstring> SplitList(const std::vector<wchar_t>& buffer) {
    std::vector<std::wstring> out;
    for (const wchar_t* p = buffer.data(); *p; p += out.back().size() + 1) out.emplace_back(p);
    return out;
}

std::wstring Upper(std::wstring text) {
    ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Section and key as one name, without regard to letter case, as the reader matches them.
std::wstring Address(const std::wstring& section, const std::wstring& key) { return Upper(section + L"/" + key); }

std::set<std::wstring> KeysOfFile(const std::wstring& file) {
    std::set<std::wstring> keys;
    std::vector<wchar_t> names(8192);
    ::GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), file.c_str());
    for (const std::wstring& section : SplitList(names)) {
        std::vector<wchar_t> lines(32768);
        ::GetPrivateProfileSectionW(section.c_str(), lines.data(), static_cast<DWORD>(lines.size()), file.c_str());
        for (const std::wstring& line : SplitList(lines)) keys.insert(Address(section, line.substr(0, line.find(L'='))));
    }
    return keys;
}
}  // namespace

TEST(LanguageFilesTest, EveryShippedFileIsUnicodeAndAnswersExactlyTheKeysTheProgramReads) {
    std::set<std::wstring> read;
    for (const LangText& text : AllLangTexts()) read.insert(Address(text.section, text.key));
    for (const wchar_t* name : {L"english.lng", L"italiano.lng", L"s_chinese.lng", L"t_chinese.lng"}) {
        SCOPED_TRACE(win::ToNarrow(name, CP_UTF8));
        std::wstring file = GetLangFolder() + L"\\" + name;
        ASSERT_EQ(testing_support::ReadFileBytes(file).substr(0, 2), std::string("\xFF\xFE"));
        for (const LangText& text : AllLangTexts()) {
            wchar_t value[300] = {};
            EXPECT_GT(::GetPrivateProfileStringW(text.section, text.key, L"", value, 300, file.c_str()), 0u)
                << "no text for " << win::ToNarrow(Address(text.section, text.key), CP_UTF8);
        }
        for (const std::wstring& key : KeysOfFile(file)) EXPECT_TRUE(read.count(key)) << "unread key " << win::ToNarrow(key, CP_UTF8);
    }
}

TEST(LanguageFilesTest, TheEnglishFileBringsBackTheBuiltInTexts) {
    std::wstring file = GetLangFolder() + L"\\english.lng";
    for (const LangText& text : AllLangTexts()) {
        if (text.from != BuiltIn::Literal || text.id == LangId::Culture || !*text.literal) continue;
        wchar_t value[300] = {};
        ::GetPrivateProfileStringW(text.section, text.key, L"", value, 300, file.c_str());
        EXPECT_EQ(std::wstring(value), text.literal) << win::ToNarrow(Address(text.section, text.key), CP_UTF8);
    }
}

// An Italian text that reads as the English one is a word both languages
// share, never one left untranslated.
TEST(LanguageFilesTest, TheItalianFileTranslatesEveryTextButTheWordsItalianShares) {
    const std::set<std::wstring> shared = {L"Standard", L"&Standard", L"OK", L"&File", L"&File...", L"File", L"&No", L"Browser",
                                           L"C&ache", L"Cache: %1", L"cache (%1)"};
    const std::wstring english = GetLangFolder() + L"\\english.lng", italian = GetLangFolder() + L"\\italiano.lng";
    for (const LangText& text : AllLangTexts()) {
        if (text.id == LangId::Culture) continue;
        wchar_t inEnglish[300] = {}, inItalian[300] = {};
        ::GetPrivateProfileStringW(text.section, text.key, L"", inEnglish, 300, english.c_str());
        ::GetPrivateProfileStringW(text.section, text.key, L"", inItalian, 300, italian.c_str());
        if (std::wstring(inItalian) == inEnglish)
            EXPECT_TRUE(shared.count(inItalian)) << "untranslated: " << win::ToNarrow(Address(text.section, text.key), CP_UTF8);
    }
}
