#pragma once
// The orders of the result list's columns, taken from the records
// themselves: names and sizes in the order of the texts the columns show,
// types by their names' rank, dates in time order.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scan/FoundItems.h"

enum ItemColumn : int { kColumnName = 0, kColumnType = 1, kColumnSize = 2, kColumnDate = 3 };

// Code unit by code unit with only A-Z folded to a-z; the difference of the
// first two that differ, or 0.
int CompareFoldedText(const std::wstring& a, const std::wstring& b);

// The number of kilobytes the Size column shows for a file of `bytes`: 0
// for nothing, 1 up to 1024 bytes, else the whole KiB below the size.
ULONGLONG ShownKilobytes(ULONGLONG bytes);

// The local time the Date Modified column shows, or nothing when the time
// cannot be shown (it cannot be converted and back without a change).
std::optional<SYSTEMTIME> ShownLocalTime(const FILETIME& lastWrite);
// A number that orders last-write times as time runs, whatever the text
// shows ("12/31/2025" before "01/02/2026"); 0, first of all, for a time
// shown as no text.
std::uint64_t DateOrderKey(const FILETIME& lastWrite);

// Sorts the rows by one column. The Type column orders by `tagRank`, the
// place of each record's tag (its type name) among the type names in order.
void SortFoundItems(FoundItems& items, int column, bool ascending, const std::vector<std::uint32_t>& tagRank = {});
