#pragma once
// A whole fake machine in a scratch tree: Windows folder, profile folders,
// drives and installed browsers, with one match for every target of the
// three scans and a few decoys beside them.
#include <memory>

#include "catalog/BriskoDoc.h"
#include "scan/Scans.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "tests/scan/RootItems.h"

class ScanMachine {
public:
    ScanMachine();
    // The document is made after the tree, so that discovery sees the profiles.
    CBriskoDoc& Doc();
    std::vector<std::wstring> Run(void (*scan)(const CBriskoDoc&, IFoundItemSink&));
    std::wstring operator/(const std::wstring& relative) const { return m_scratch / relative; }
    const std::wstring& Root() const { return m_scratch.Path(); }
    // Files (or folders, with a trailing backslash) below the scratch root.
    void Seed(std::initializer_list<const wchar_t*> entries);

    testing_support::FakeMachine system;
    testing_support::RecordingSink sink;
    ScopedRootItems rootC;  // the items the scans look for in the root of C:

private:
    testing_support::ScratchFolder m_scratch{L"machine"};
    std::unique_ptr<CBriskoDoc> m_doc;
};
