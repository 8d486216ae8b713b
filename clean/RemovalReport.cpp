#include "clean/RemovalReport.h"

const wchar_t* LeftReasonText(LeftReason reason) {
    switch (reason) {
    case LeftReason::Missing:
        return L"no longer there";
    case LeftReason::Unresolvable:
        return L"its path leads nowhere certain";
    case LeftReason::Link:
        return L"a link, or behind or holding one";
    case LeftReason::Protected:
        return L"a protected folder";
    case LeftReason::InUse:
        return L"in use";
    case LeftReason::AccessDenied:
        return L"access denied";
    case LeftReason::Failed:
        return L"the system refused to remove it";
    case LeftReason::OddName:
        return L"a device name or a name ending in a dot or blank, which no plain path reaches";
    case LeftReason::Excluded:
        return L"kept by a policy (ExcludePaths)";
    case LeftReason::RecycleRefused:
        return L"the Recycle Bin refused it";
    case LeftReason::NotEmpty:
        return L"the folder still holds files (in use or added during the clean)";
    }
    return L"left";
}

const RemovalContext& MachineRemoval() {
    static const RemovalContext removal{MachineGuards(), SilentReport()};
    return removal;
}

IRemovalReport& SilentReport() {
    class Silent : public IRemovalReport {
        void Removing(const std::wstring&) override {}
        void Left(const std::wstring&, LeftReason) override {}
    };
    static Silent silent;
    return silent;
}
