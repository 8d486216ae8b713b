#pragma once
// The one local form of a path however it is spelled: device and UNC forms
// of a local drive ("\\?\C:\", "\\.\C:\", "\\localhost\C$\", "\\?\UNC\...",
// a volume's "\\?\Volume{...}\"), stream suffixes ("::$DATA") and, where
// the path exists, the place its links lead to. What a policy keeps must
// hold whichever of them names it.
#include <optional>
#include <string>
#include <vector>

// `spelling` as a drive path, device and UNC forms of a local drive turned
// into "X:\...", forward slashes into backslashes, and each step's stream
// suffix dropped; nothing when it names no local drive (another machine's
// share, a device path without a drive letter).
std::optional<std::wstring> LocalDriveSpelling(const std::wstring& spelling);

// The forms an existing local path has: the drive spelling and, where a link
// lies on its way or is its last step, the place the platform reaches
// through it. Nothing when the spelling names no local drive.
std::optional<std::vector<std::wstring>> LocalForms(const std::wstring& spelling);

// True when `host` names this machine: "localhost", a loopback address, or
// its own NetBIOS or DNS name.
bool IsThisMachine(const std::wstring& host);
