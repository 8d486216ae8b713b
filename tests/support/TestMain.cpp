// The entry point of every test program. It refuses to run unless it sits
// in a throwaway prefix: no Z: drive (Wine maps the host's / there).
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (::GetDriveTypeW(L"Z:\\") != DRIVE_NO_ROOT_DIR) {
        std::fprintf(stderr, "refusing to run: drive Z: is mapped, so this is no throwaway prefix\n");
        return 2;
    }
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
