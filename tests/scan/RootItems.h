#pragma once
// Files and folders in the root of the prefix's drive C:, made for one scope
// and removed again at its end (only those the scope made).
#include <string>
#include <vector>

#include "support/TestSupport.h"

class ScopedRootItems {
public:
    ScopedRootItems() = default;
    ScopedRootItems(const ScopedRootItems&) = delete;
    ScopedRootItems& operator=(const ScopedRootItems&) = delete;
    ~ScopedRootItems() {
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) testing_support::RemoveTree(*it);
    }
    // A file or, with a trailing backslash, a folder; its missing parents too.
    void Add(const std::wstring& path) {
        std::wstring plain = path.back() == L'\\' ? path.substr(0, path.size() - 1) : path;
        for (size_t at = plain.find(L'\\', 3);; at = plain.find(L'\\', at + 1)) {
            std::wstring level = plain.substr(0, at);
            if (!testing_support::Exists(level)) {
                m_made.push_back(level);
                break;
            }
            if (at == std::wstring::npos) return;  // there already: not ours to remove
        }
        if (path.back() == L'\\') {
            testing_support::MakeFolders(plain);
        } else {
            testing_support::MakeFolders(plain.substr(0, plain.rfind(L'\\')));
            testing_support::WriteFileBytes(plain, "x");
        }
    }

private:
    std::vector<std::wstring> m_made;
};
