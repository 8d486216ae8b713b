#include <gtest/gtest.h>

#include "catalog/BriskoDoc.h"
#include "support/FakeMachine.h"

TEST(StandardCatalogue, CollectionsHoldTheirCountsAndRepeatFoldersOncePerPattern) {
    testing_support::FakeMachine system;
    CBriskoDoc doc(system);
    EXPECT_EQ(doc.m_listWindowsPatternTargets.size(), 30u);
    EXPECT_EQ(doc.m_listProfileIEFolders.size(), 5u);
    EXPECT_EQ(doc.m_listWindowsRootPatterns.size(), 8u);
    EXPECT_EQ(doc.m_listDriveRootPatterns.size(), 4u);
    EXPECT_EQ(doc.m_listAllUsersFolders.size(), 2u);
    EXPECT_EQ(doc.m_listAppDataFolders.size(), 2u);
    EXPECT_EQ(doc.m_listRootFileNames.size(), 11u);
    EXPECT_EQ(doc.m_listFoundFolders.size(), 10u);
    EXPECT_EQ(doc.m_listWindowsFolders.size(), 19u);
    std::map<std::wstring, int> walks;
    for (const CTargetPair& pair : doc.m_listWindowsPatternTargets) ++walks[pair.folder];
    EXPECT_EQ(walks[L"Security"], 2);
    EXPECT_EQ(walks[L"Sysbckup"], 5);
    EXPECT_EQ(walks[L"System32"], 2);
    EXPECT_STREQ(doc.m_listFoundFolders.back(), L"Found.009");
}
