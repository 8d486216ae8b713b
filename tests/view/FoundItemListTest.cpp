#include <windows.h>
#include <commctrl.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include "app/BriskoApp.h"
#include "catalog/BriskoDoc.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "view/ItemText.h"
#include "view/ListLayout.h"

using namespace testing_support;

namespace {
class FoundItemList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Frame()));
        view.MoveWindow(0, 0, 700, 300);
        view.SetUpList();
    }

    void Add(const std::wstring& path) { ASSERT_TRUE(AddExistingItem(view, path)) << path; }
    std::wstring Cell(int row, int column) const { return view.List().GetItemText(row, column); }
    int Image(int row) const {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        view.List().SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    int Rows() const { return view.List().GetItemCount(); }

    ViewHost host;
    CBriskoDoc doc;
    CListController view{host.app, doc};
    ScratchFolder folder{L"list"};
};

std::wstring PathOfLength(const std::wstring& folder, size_t length) {
    return folder + L"\\" + std::wstring(length - folder.size() - 1, L'n');
}
}  // namespace

TEST_F(FoundItemList, ColumnsImagesAndTheResizeRule) {
    HWND header = reinterpret_cast<HWND>(view.SendMessage(LVM_GETHEADER));
    ASSERT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 4);
    const wchar_t* texts[4] = {L"File Name", L"Type", L"Size", L"Date Modified"};
    const int formats[4] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT, LVCFMT_CENTER};
    for (int i = 0; i < 4; ++i) {
        wchar_t text[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = 64;
        view.SendMessage(LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        EXPECT_EQ(std::wstring(text), texts[i]);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, formats[i]) << i;
    }
    int client = view.GetClientRect().right;
    int unit = (client - ::GetSystemMetrics(SM_CXVSCROLL) - 130) / 10;
    EXPECT_EQ(view.List().GetColumnWidth(1), unit + 25);
    EXPECT_EQ(view.List().GetColumnWidth(2), 80);
    EXPECT_EQ(view.List().GetColumnWidth(3), 125);
    EXPECT_EQ(view.GetStyle() & LVS_TYPEMASK, LVS_REPORT);

    view.List().SetColumnWidth(1, 90);
    view.MoveWindow(0, 0, 600, 300);
    EXPECT_EQ(view.List().GetColumnWidth(0), view.GetClientRect().right - 90 - 205);
    view.MoveWindow(0, 0, 200, 300);  // narrower than the other columns
    EXPECT_EQ(view.List().GetColumnWidth(0), kMinFileNameWidth);

    for (int which : {LVSIL_SMALL, LVSIL_NORMAL}) {
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(view.SendMessage(LVM_GETIMAGELIST, which));
        ASSERT_NE(images, nullptr);
        EXPECT_EQ(::ImageList_GetImageCount(images), 2);
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(images, &cx, &cy);
        EXPECT_EQ(cx, which == LVSIL_SMALL ? 16 : 32);
    }
}

TEST_F(FoundItemList, FileRowsShowTheirSizeAndEachNewRowGoesOnTop) {
    const std::pair<size_t, const wchar_t*> sizes[] = {
        {0, L"0 KB"}, {1, L"1 KB"}, {1024, L"1 KB"}, {1025, L"1 KB"}, {2048, L"2 KB"}, {5000, L"4 KB"}};
    for (const auto& [size, text] : sizes) {
        std::wstring path = folder / (L"s" + std::to_wstring(size) + L".xyz");
        WriteFileBytes(path, std::string(size, 'x'));
        Add(path);
        ASSERT_EQ(Cell(0, 0), path);  // the newest row is the top row
        EXPECT_EQ(Cell(0, 2), text) << size;
        EXPECT_EQ(Image(0), 1);
        EXPECT_FALSE(Cell(0, 1).empty());
        EXPECT_EQ(Cell(0, 3).size(), 16u);  // MM/DD/YYYY HH:MM
    }
    EXPECT_EQ(Cell(5, 0), folder / L"s0.xyz");

    // Sizes past 2 and 4 GiB keep their true number of KB.
    WIN32_FIND_DATAW big{};
    big.nFileSizeHigh = 1;
    big.nFileSizeLow = 0x80000000u;
    EXPECT_EQ(FormatSizeText(FoundItemSize(big)), L"6291456 KB");
    big.nFileSizeHigh = 0;
    EXPECT_EQ(FormatSizeText(FoundItemSize(big)), L"2097152 KB");
}

TEST_F(FoundItemList, AGiantSparseFileIsListedWithItsSize) {
    std::wstring path = folder / L"huge.bin";
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER size{};
    size.QuadPart = 3LL << 30;
    ::SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    bool extended = ::SetEndOfFile(file) != FALSE;
    ::CloseHandle(file);
    if (!extended) GTEST_SKIP() << "no room for a 3 GiB file here";
    Add(path);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 2), L"3145728 KB");
}

TEST_F(FoundItemList, FolderRowsAndFilesInUse) {
    std::wstring sub = folder / L"Cache";
    MakeFolders(sub);
    WriteFileBytes(sub + L"\\busy.dat", "x");
    WriteFileBytes(folder / L"busy.log", "x");
    WriteFileBytes(folder / L"readonly.log", "x");
    ::SetFileAttributesW((folder / L"readonly.log").c_str(), FILE_ATTRIBUTE_READONLY);
    ChildProcess holdTop = HoldFileOpen(folder / L"busy.log");
    ChildProcess holdInner = HoldFileOpen(sub + L"\\busy.dat");

    Add(folder / L"busy.log");
    EXPECT_EQ(Rows(), 0);
    Add(folder / L"readonly.log");  // read-only and held by nobody: free
    EXPECT_EQ(Rows(), 1);
    EXPECT_TRUE(::GetFileAttributesW((folder / L"readonly.log").c_str()) & FILE_ATTRIBUTE_READONLY);
    Add(sub);  // a folder is listed even with a file in use inside it
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 2), L"");
    EXPECT_EQ(Image(0), 0);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(sub.c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(Cell(0, 3), FormatDateText(data.ftLastWriteTime));
    ::SetFileAttributesW((folder / L"readonly.log").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FoundItemList, ProtectedFoldersAreNeverListed) {
    wchar_t windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    ::GetSystemDirectoryW(system, MAX_PATH);
    WIN32_FIND_DATAW folderRecord{};
    folderRecord.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    for (std::wstring path : {std::wstring(windows), std::wstring(system), std::wstring(windows, 3),
                              std::wstring(windows, 2), std::wstring(windows) + L"\\"})
        view.AddFoundItem(path, folderRecord);
    EXPECT_EQ(Rows(), 0);
    view.AddFoundItem(std::wstring(windows) + L"\\Temp", folderRecord);
    EXPECT_EQ(Rows(), 1);
}

TEST_F(FoundItemList, LongPathsAndNamesBeyondTheBasicPlane) {
    std::wstring at259 = PathOfLength(folder.Path(), 259), at260 = PathOfLength(folder.Path(), 260);
    WriteFileBytes(at259, "x");
    WriteFileBytes(L"\\\\?\\" + at260, "x");
    view.AddFoundItem(at259, WIN32_FIND_DATAW{});
    view.AddFoundItem(at260, WIN32_FIND_DATAW{});
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 0), at259);
    // A folder with a path of 300 characters is listed all the same.
    WIN32_FIND_DATAW folderRecord{};
    folderRecord.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    std::wstring at300 = folder.Path() + L"\\" + std::wstring(150, L'a') + L"\\";
    at300 += std::wstring(300 - at300.size(), L'b');
    view.AddFoundItem(at300, folderRecord);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), at300);
    ::DeleteFileW((L"\\\\?\\" + at260).c_str());

    std::wstring chinese = folder / L"\x7F13\x5B58\x6587\x4EF6.tmp";        // 缓存文件
    std::wstring surrogate = folder / L"emoji-\xD83D\xDE00-\xD840\xDC0B.log";  // U+1F600, U+2000B
    WriteFileBytes(chinese, "x");
    WriteFileBytes(surrogate, std::string(3000, 'x'));
    Add(chinese);
    Add(surrogate);
    EXPECT_EQ(Cell(0, 0), surrogate);
    EXPECT_EQ(Cell(0, 2), L"2 KB");
    EXPECT_EQ(Cell(1, 0), chinese);
}

TEST(ItemText, TheTypeFallbackUpperCasesOnlyBasicLettersOfTheLastExtension) {
    EXPECT_EQ(FallbackTypeText(L"C:\\Temp\\a.xyz"), L"XYZ File");
    EXPECT_EQ(FallbackTypeText(L"C:\\dir.old\\readme"), L"File");
    EXPECT_EQ(FallbackTypeText(L"C:\\Temp\\a.b.Q1\xE9z"), L"Q1\xE9Z File");
    EXPECT_EQ(FallbackTypeText(L"C:\\Temp\\noext."), L" File");
    EXPECT_EQ(FallbackTypeText(L"name"), L"File");
}

TEST(ItemText, DatesRoundTripToTheMinuteOrStayEmpty) {
    SYSTEMTIME local{2008, 3, 5, 7, 14, 5, 33, 0};
    FILETIME localTime{}, utc{};
    ASSERT_TRUE(::SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&localTime, &utc));
    EXPECT_EQ(FormatDateText(utc), L"03/07/2008 14:05");
    SYSTEMTIME late{2024, 12, 2, 31, 23, 59, 59, 999};
    ASSERT_TRUE(::SystemTimeToFileTime(&late, &localTime));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&localTime, &utc));
    EXPECT_EQ(FormatDateText(utc), L"12/31/2024 23:59");
    FILETIME invalid{0xFFFFFFFFu, 0xFFFFFFFFu};
    EXPECT_EQ(FormatDateText(invalid), L"");
}

TEST(ItemText, FilesOfOneExtensionShareATypeNameWhileFoldersAreAskedThemselves) {
    ScratchFolder folder(L"types");
    WriteFileBytes(folder / L"a.txt", "a");
    WriteFileBytes(folder / L"B.TXT", "b");
    ::CreateDirectoryW((folder / L"notes.txt").c_str(), nullptr);
    ::CreateDirectoryW((folder / L"plain").c_str(), nullptr);
    std::wstring text = GetFileTypeText(folder / L"a.txt");
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(GetFileTypeText(folder / L"B.TXT"), text);  // asked once, answered for both spellings
    // A folder whose name has a dot is still named as a folder, not by the
    // type its extension has for files.
    EXPECT_EQ(GetFileTypeText(folder / L"notes.txt", true), GetFileTypeText(folder / L"plain", true));
    EXPECT_NE(GetFileTypeText(folder / L"notes.txt", true), text);
}
