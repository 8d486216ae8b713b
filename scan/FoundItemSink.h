#pragma once
// Where the walk primitives hand every match: the result list in the
// program, a recording receiver in tests.
#include <windows.h>
#include <string>

class IFoundItemSink {
public:
    virtual ~IFoundItemSink() = default;
    virtual void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) = 0;
};
