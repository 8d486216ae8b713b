#pragma once
// The lines brisko-cli prints: plain text for people, JSON lines for scripts.
#include <windows.h>

#include <string>

#include "scan/FoundItems.h"


// `text` as a JSON string, quotes included; characters beyond the basic
// plane stay as they are (the line is written as UTF-8).
std::wstring JsonString(const std::wstring& text);
// The modification time as UTC ISO 8601 ("2026-12-07T12:50:00Z"); "" for none.
std::wstring IsoTime(const FILETIME& time);

// {"path":..., "kind":"file"|"folder", "size":N, "modified":..., "mode":...}
// with "entry":... for an item a rules entry found (`ruleEntry`, its name),
// and `extra` (already JSON members, such as "action":"removed") added at the end.
std::wstring EntryJson(const FoundItem& entry, const wchar_t* mode, const std::wstring& extra = {},
                       const std::wstring& ruleEntry = {});
// "path  (size)", the line of the plain listing, and "  [entry]" after it
// for an item a rules entry found.
std::wstring EntryText(const FoundItem& entry, const std::wstring& ruleEntry = {});
// EntryText with what a measured folder holds: "path  (folder of 2,605 items, 620.0 MB)".
std::wstring MeasuredEntryText(const FoundItem& entry, const ItemAmount& amount, const std::wstring& ruleEntry = {});
// The JSON member of what a folder holds, "\"contents\":{\"items\":N,\"bytes\":N}";
// "" for a file.
std::wstring ContentsJson(const FoundItem& entry, const ItemAmount& amount);
// "3.4 MB (3,561,472 bytes)", or "512 bytes".
std::wstring SizeText(ULONGLONG bytes);
// "12 items, 3.4 MB (3,561,472 bytes)".
std::wstring SummaryText(size_t items, ULONGLONG bytes);
