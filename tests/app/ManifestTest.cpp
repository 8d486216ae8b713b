// The manifests as Windows reads them: out of each executable's resources.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {

std::string EmbeddedManifest(const std::wstring& program) {
    HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string text;
    if (HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))  // RT_MANIFEST
        if (HGLOBAL loaded = ::LoadResource(module, found))
            text.assign(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module, found));
    ::FreeLibrary(module);
    return text;
}

}  // namespace

TEST(Manifest, BothExecutablesDeclareTodaysWindowsAndTheirOwnExecutionLevel) {
    const char* everywhere[] = {
        "version=\"" BRISKO_VERSION_DOTTED "\"",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
        ">true</longPathAware>",
        ">true/pm</dpiAware>",
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
    };
    const struct {
        const wchar_t* program;
        const char* level;
    } cases[] = {
        {L"brisko.exe", "level=\"requireAdministrator\""},
        {L"brisko-cli.exe", "level=\"asInvoker\""},
    };
    for (const auto& c : cases) {
        std::string manifest = EmbeddedManifest(SiblingProgram(c.program));
        ASSERT_FALSE(manifest.empty()) << "no manifest in " << testing::PrintToString(std::wstring(c.program));
        for (const char* entry : everywhere) EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
        EXPECT_NE(manifest.find(c.level), std::string::npos) << c.level;
    }
}
