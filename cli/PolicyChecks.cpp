#include "cli/PolicyChecks.h"

#include "scan/Modes.h"

std::wstring PolicyRefusal(const CliOptions& options, const Policies& policies) {
    using Command = CliOptions::Command;
    bool scans = options.command == Command::Scan || options.command == Command::Clean;
    if (options.command == Command::Clean && options.permanent && policies.recycleOnly)
        return L"refused by the policy RecycleOnly: removal goes to the Recycle Bin only; use --recycle, not --permanent";
    if (scans && options.mode != MODE_STANDARD && policies.privacyDisabled)
        return L"refused by the policy DisablePrivacy: the cookies and offline modes are turned off";
    if (options.command == Command::Browsers && policies.privacyDisabled)
        return L"refused by the policy DisablePrivacy: the browser cleaning is turned off";
    return {};
}
