#include <gtest/gtest.h>

#include <shlobj.h>

#include "catalog/BriskoDoc.h"
#include "item/CriticalFolders.h"
#include "clean/DeleteItem.h"
#include "clean/FolderRemoval.h"
#include "item/Guards.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "win/Path.h"

namespace {
// A machine with Windows on D: and its shell folders spread over D: and E:.
class FakeSystem : public testing_support::FakeMachine {
public:
    FakeSystem() {
        windows = L"D:\\WINNT";
        folders = {{CSIDL_PROFILE, L"D:\\Users\\me"},
                   {CSIDL_APPDATA, L"D:\\Users\\me\\AppData\\Roaming"},
                   {CSIDL_LOCAL_APPDATA, L"D:\\Users\\me\\AppData\\Local"},
                   {CSIDL_DESKTOPDIRECTORY, L"D:\\Users\\me\\Desktop"},
                   {CSIDL_PERSONAL, L"E:\\Docs"},
                   {CSIDL_MYMUSIC, L"D:\\Users\\me\\Music"},
                   {CSIDL_MYPICTURES, L"D:\\Users\\me\\Pictures"},
                   {CSIDL_MYVIDEO, L"D:\\Users\\me\\Videos"},
                   {CSIDL_PROGRAM_FILES, L"D:\\Program Files"},
                   {CSIDL_PROGRAM_FILESX86, L"D:\\Program Files (x86)"}};
    }
};
}  // namespace

TEST(ProtectedFolders, VolumeRootsAndEmptyPathsInAnySpelling) {
    FolderSet none;
    for (const wchar_t* path : {L"C:\\", L"C:", L"c:/", L"C:\\\\", L"\\\\?\\C:\\", L"\\\\server\\share",
                                L"\\\\server\\share\\", L"C:\\Temp\\..", L""})
        EXPECT_TRUE(IsProtectedFolder(path, none)) << path;
    for (const wchar_t* path : {L"C:\\Temp", L"\\\\server\\share\\cache", L"C:\\x\\..\\Temp"})
        EXPECT_FALSE(IsProtectedFolder(path, none)) << path;
}

TEST(ProtectedFolders, TheMachinesFoldersThemselvesButNothingBelowOrBeside) {
    FakeSystem system;
    system.environment = {{L"TMP", L"D:\\"}, {L"PUBLIC", L"D:\\Users\\Public"}};
    FolderSet folders = CollectProtectedFolders(system);
    for (const wchar_t* path :
         {L"D:\\WINNT", L"d:\\winnt\\", L"D:/WINNT/System32", L"D:\\WINNT\\System32\\..", L"\\\\?\\D:\\WINNT",
          L"D:\\Program Files", L"D:\\Program Files (x86)", L"D:\\Users", L"D:\\Users\\me", L"D:\\Users\\Public",
          L"D:\\Users\\me\\Desktop", L"E:\\Docs", L"D:\\Users\\me\\Music", L"D:\\Users\\me\\Pictures",
          L"D:\\Users\\me\\Videos", L"D:\\Users\\me\\Downloads", L"D:\\Users\\me\\AppData",
          L"D:\\Users\\me\\AppData\\Roaming", L"D:\\USERS\\ME\\APPDATA\\LOCAL"})
        EXPECT_TRUE(IsProtectedFolder(path, folders)) << path;
    for (const wchar_t* path :
         {L"D:\\WINNT\\Temp", L"D:\\WINNT\\System32\\LogFiles", L"D:\\Users\\me\\AppData\\Local\\Temp",
          L"D:\\Users\\me\\Desktop2", L"D:\\Users\\me\\Downloads\\setup", L"E:\\Docs\\old",
          L"D:\\Program Files\\App\\Cache"})
        EXPECT_FALSE(IsProtectedFolder(path, folders)) << path;
}

TEST(ProtectedFolders, TheWindowsFolderAndTheStoreAppsDataOpenOnlyInTheirJunkAndAProfileKeepsItsUsersData) {
    FakeSystem system;
    FolderSet folders = CollectProtectedFolders(system);
    const struct {
        const wchar_t* path;
        bool kept;
    } cases[] = {
        {L"D:\\WINNT\\security\\database", true},
        {L"D:\\WINNT\\ServiceProfiles\\LocalService", true},
        {L"D:\\WINNT\\appcompat", true},
        {L"D:\\WINNT\\en-US", true},
        {L"D:\\WINNT\\Panther", true},
        {L"D:\\WINNT\\Tasks", true},
        {L"D:\\WINNT\\SoftwareDistribution", true},
        {L"D:\\WINNT\\SoftwareDistribution\\DataStore", true},
        {L"D:\\WINNT\\Temp\\setup", false},
        {L"D:\\winnt\\LOGS\\CBS", false},
        {L"D:\\WINNT\\Minidump", false},
        {L"D:\\WINNT\\SoftwareDistribution\\Download\\a1", false},
        {L"D:\\WINNT\\ServiceProfiles\\NetworkService\\AppData\\Local\\Temp", false},
        {L"D:\\WINNT\\System32\\wbem\\Logs", false},
        {L"D:\\Users\\me\\AppData\\Local\\Packages", true},
        {L"D:\\Users\\me\\AppData\\Local\\Packages\\App_1", true},
        {L"D:\\Users\\me\\AppData\\Local\\Packages\\App_1\\Settings", true},
        {L"D:\\Users\\me\\AppData\\Local\\Packages\\App_1\\AC\\INetCache\\X1", false},
        {L"D:\\Users\\me\\AppData\\Local\\Packages\\App_1\\TempState", false},
        {L"D:\\Users\\me\\AppData\\Roaming\\Microsoft\\Credentials", true},
        {L"D:\\Users\\me\\AppData\\Local\\Microsoft\\Vault\\4BF4", true},
        {L"D:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs", true},
        {L"D:\\Users\\me\\AppData\\Local\\Microsoft\\Outlook", true},
        {L"D:\\Users\\me\\AppData\\Local\\Microsoft\\Windows", true},
        {L"D:\\Users\\me\\AppData\\Local\\Microsoft\\Windows\\INetCache", false},
        {L"E:\\Docs\\Outlook Files", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsProtectedFolder(c.path, folders), c.kept) << c.path;
    for (const wchar_t* name : {L"NTUSER.DAT", L"ntuser.dat.LOG1", L"UsrClass.dat", L"UsrClass.dat{1}.TM.blf"})
        EXPECT_TRUE(IsHiveFileName(name)) << name;
    for (const wchar_t* name : {L"user.dat.bak", L"Classes.dat", L"ntuser.txt"}) EXPECT_FALSE(IsHiveFileName(name)) << name;
}

TEST(ProtectedFolders, EveryFolderTheCatalogueTakesFromTheWindowsFolderIsOneOfItsJunkFolders) {
    FakeSystem system;
    FolderSet folders = CollectProtectedFolders(system);
    CBriskoDoc doc(system);
    std::vector<std::wstring> taken{L"Temp", L"History", L"Downloaded Program Files"};
    for (const CTargetList* list : {&doc.m_listWindowsFolders, &doc.m_listWindowsTempFolders})
        for (const std::wstring& folder : *list) taken.push_back(folder);
    FolderSet critical;
    AddRemovalTrees(system, critical);
    for (const std::wstring& folder : taken) {
        std::wstring path = L"D:\\WINNT\\" + folder;
        // A folder in a critical tree (WinSxS) stays, whatever the catalogue names.
        if (critical.ListsCanonical(NormaliseFolderPath(path))) continue;
        EXPECT_FALSE(IsProtectedFolder(path, folders)) << folder;
    }
}

TEST(ProtectedFolders, ThisMachineKeepsItsWindowsAndSystemFolders) {
    wchar_t windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    ::GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_TRUE(IsProtectedOnThisMachine(windows));
    EXPECT_TRUE(IsProtectedOnThisMachine(system));
    EXPECT_TRUE(IsProtectedOnThisMachine(std::wstring(windows, 2)));  // its drive
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    EXPECT_FALSE(IsProtectedOnThisMachine(temp));
}

TEST(LinkTest, AFinalPathElsewhereShowsALink) {
    EXPECT_FALSE(FinalPathShowsLink(L"\\\\?\\C:\\a", L"x.txt", L"\\\\?\\C:\\A\\X.TXT"));
    EXPECT_FALSE(FinalPathShowsLink(L"\\\\?\\C:\\", L"x", L"\\\\?\\C:\\x"));
    EXPECT_TRUE(FinalPathShowsLink(L"\\\\?\\C:\\a", L"x.txt", L"\\\\?\\C:\\b\\x.txt"));
    EXPECT_TRUE(FinalPathShowsLink(L"\\\\?\\C:\\a", L"link", L"\\\\?\\C:\\a\\target"));
    EXPECT_TRUE(FinalPathShowsLink(L"\\\\?\\C:\\a", L"x", L"\\\\?\\unix\\tmp\\x"));
}

TEST(SystemFolders, TempFoldersAndEveryShellFolderAreEmptiedNotTheirNeighbours) {
    FakeSystem system;
    system.folders[CSIDL_HISTORY] = L"D:\\Users\\me\\History";
    system.folders[CSIDL_RECENT] = L"D:\\Users\\me\\Recent";
    system.folders[CSIDL_COOKIES] = L"D:\\Users\\me\\Cookies";
    system.folders[CSIDL_INTERNET_CACHE] = L"D:\\Users\\me\\Temporary Internet Files";
    system.environment[L"TMP"] = L"D:\\Users\\me\\Temp\\";
    FolderSet folders = CollectSystemFolders(system);
    for (const wchar_t* folder : {L"d:\\users\\me\\history", L"D:\\Users\\me\\Recent\\", L"D:/Users/me/Cookies",
                                  L"D:\\Users\\me\\Temporary Internet Files", L"D:\\Users\\me\\Temp",
                                  L"D:\\WINNT\\Temp"})
        EXPECT_TRUE(folders.Contains(folder)) << folder;
    for (const wchar_t* folder : {L"D:\\Users\\me\\History\\Today", L"D:\\Users\\me\\Temp2", L"D:\\WINNT\\Temp\\x"})
        EXPECT_FALSE(folders.Contains(folder)) << folder;
}

TEST(ProtectedFolders, ARemovalTakesNoFolderFromACriticalTreeButTheJunkBesideIt) {
    testing_support::ScratchFolder root{L"critical"};
    testing_support::FakeMachine system;
    system.windows = root / L"Windows";
    system.folders[CSIDL_APPDATA] = root / L"Roaming";
    for (const wchar_t* file : {L"Windows\\Fonts\\Sub\\a.ttf", L"Windows\\System32\\drivers\\etc\\hosts",
                                L"Windows\\Logs\\CBS\\CBS.log", L"Roaming\\Microsoft\\Protect\\S-1\\key",
                                L"Roaming\\Microsoft\\Cache\\junk"}) {
        testing_support::MakeFolders(ParentOf(root / file));
        testing_support::WriteFileBytes(root / file, "x");
    }
    RemovalGuards guards{CollectProtectedFolders(system), {}};
    RemovalContext removal{guards, SilentReport()};
    for (bool permanent : {true, false}) {
        EXPECT_FALSE(DeleteFoundItem(root / L"Windows\\Fonts\\Sub", permanent, removal));
        EXPECT_FALSE(DeleteFoundItem(root / L"Windows\\System32\\drivers", permanent, removal));
    }
    RemoveFolderContents(root / L"Roaming\\Microsoft", removal);
    EXPECT_TRUE(testing_support::Exists(root / L"Windows\\Fonts\\Sub\\a.ttf"));
    EXPECT_TRUE(testing_support::Exists(root / L"Windows\\System32\\drivers\\etc\\hosts"));
    EXPECT_TRUE(testing_support::Exists(root / L"Roaming\\Microsoft\\Protect\\S-1\\key"));
    EXPECT_FALSE(testing_support::Exists(root / L"Roaming\\Microsoft\\Cache"));
    EXPECT_TRUE(DeleteFoundItem(root / L"Windows\\Logs\\CBS", true, removal));
}
