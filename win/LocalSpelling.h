#pragma once
// The drive form of a local path however it is spelled: device and UNC
// forms of a local drive ("\\?\C:\", "\\.\C:\", "\\localhost\C$\", "\\?\UNC\...",
// a volume's "\\?\Volume{...}\") and stream suffixes ("::$DATA").
#include <optional>
#include <string>

// `spelling` as a drive path, device and UNC forms of a local drive turned
// into "X:\...", forward slashes into backslashes, and each step's stream
// suffix dropped; nothing when it names no local drive (another machine's
// share, a device path without a drive letter).
std::optional<std::wstring> LocalDriveSpelling(const std::wstring& spelling);

// True when `host` names this machine: "localhost", a loopback address, or
// its own NetBIOS or DNS name.
bool IsThisMachine(const std::wstring& host);
