#pragma once
// The kinds of traces a browser profile is cleaned of, each a choice of its own.
#include <array>
#include <optional>
#include <string>

namespace browsers {

enum class TraceKind { History, Downloads, Cookies, Forms, Sessions, Cache };
inline constexpr int kTraceKinds = 6;
inline constexpr std::array<TraceKind, kTraceKinds> kAllTraceKinds = {
    TraceKind::History, TraceKind::Downloads, TraceKind::Cookies,
    TraceKind::Forms,   TraceKind::Sessions,  TraceKind::Cache};

// A set of kinds.
class TraceKinds {
public:
    constexpr TraceKinds() = default;
    // Every kind but Sessions: cleaning sessions closes the user's tabs for good.
    static TraceKinds Default();
    static TraceKinds FromMask(unsigned mask) { TraceKinds k; k.m_mask = mask & 0x3f; return k; }

    bool Has(TraceKind kind) const { return (m_mask & Bit(kind)) != 0; }
    void Set(TraceKind kind, bool on) { m_mask = on ? (m_mask | Bit(kind)) : (m_mask & ~Bit(kind)); }
    bool Empty() const { return m_mask == 0; }
    unsigned Mask() const { return m_mask; }

private:
    static constexpr unsigned Bit(TraceKind kind) { return 1u << static_cast<int>(kind); }
    unsigned m_mask = 0;
};

// "history", "downloads", "cookies", "forms", "sessions", "cache": the names
// of the command line and of the JSON it prints.
const wchar_t* TraceKindName(TraceKind kind);
std::optional<TraceKind> TraceKindFromName(const std::wstring& name);

}  // namespace browsers
