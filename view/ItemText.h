#pragma once
// The texts of a found item's Type, Size and Date Modified columns.
#include <windows.h>
#include <string>

// The shell's type name of the file or folder, or the fallback below.
std::wstring GetFileTypeText(const std::wstring& path, bool isFolder = false);
// What a file's type name depends on: its extension, lower-cased (".tmp");
// "" for a name without one, whose type the shell is asked each time.
std::wstring TypeExtensionKey(const std::wstring& path);
// "XYZ File" for a name with the extension xyz (only a to z upper-cased),
// "File" when the last dot is not in the last component.
std::wstring FallbackTypeText(const std::wstring& path);
// The Type column of an item a rules entry found: its type name with the
// entry's name after it, so that the row tells why it is listed.
std::wstring TypeWithRuleEntry(const std::wstring& type, const std::wstring& entry);

// "0 KB" for nothing, "1 KB" up to 1024 bytes, else the whole KiB below the
// size; the text always begins with the number, which the Size sort reads.
std::wstring FormatSizeText(ULONGLONG bytes);
// The size of a find record, with its high part, so that files of 2 GiB and
// more show their true size.
ULONGLONG FoundItemSize(const WIN32_FIND_DATAW& find);

// The last-write time as local "MM/DD/YYYY HH:MM", or "" when the time
// cannot be converted and back without a change.
std::wstring FormatDateText(const FILETIME& lastWrite);
