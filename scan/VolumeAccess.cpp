#include "scan/VolumeAccess.h"

#include "win/Path.h"

AccessCommand VolumeInfoAccessCommand(const std::wstring& systemFolder, const std::wstring& root,
                                      const std::wstring& user, DWORD majorVersion) {
    auto quoted = [](const std::wstring& text) { return L"\"" + text + L"\""; };
    const std::wstring folder = quoted(root + L"System Volume Information");
    AccessCommand command;
    command.program = JoinPath(systemFolder, majorVersion <= 5 ? L"cacls.exe" : L"icacls.exe");
    command.commandLine = quoted(command.program) + L" " + folder +
                          (majorVersion <= 5 ? L" /E /G " + quoted(user + L":F")
                                             : L" /grant " + quoted(user + L":(D,WDAC)") + L" " + quoted(user + L":F"));
    return command;
}

void GetVolumeInfo(const ISystemInfo& system, const std::wstring& root, std::wstring& volumeName,
                   std::wstring& fileSystemName) {
    volumeName.clear();
    fileSystemName.clear();
    system.VolumeInformation(root, volumeName, fileSystemName);
}

void GrantVolumeInfoAccess(const ISystemInfo& system, const std::wstring& root) {
    const std::wstring user = system.UserName();
    if (system.PlatformVersion() & 0x80000000u) return;  // the 9x family has no access lists
    // A name the platform could not give would grant nothing to nobody.
    if (user.empty()) return;
    AccessCommand command = VolumeInfoAccessCommand(system.SystemFolder(), root, user, system.MajorVersion());
    system.RunHidden(command.program, command.commandLine);
}
