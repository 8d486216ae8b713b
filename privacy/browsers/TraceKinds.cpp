#include "privacy/browsers/TraceKinds.h"

namespace browsers {

TraceKinds TraceKinds::Default() {
    TraceKinds kinds;
    for (TraceKind kind : kAllTraceKinds) kinds.Set(kind, kind != TraceKind::Sessions);
    return kinds;
}

const wchar_t* TraceKindName(TraceKind kind) {
    static const wchar_t* const names[kTraceKinds] = {L"history", L"downloads", L"cookies",
                                                      L"forms",   L"sessions",  L"cache"};
    return names[static_cast<int>(kind)];
}

std::optional<TraceKind> TraceKindFromName(const std::wstring& name) {
    for (TraceKind kind : kAllTraceKinds)
        if (name == TraceKindName(kind)) return kind;
    return std::nullopt;
}

}  // namespace browsers
