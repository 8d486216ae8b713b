#include "privacy/browsers/KeepList.h"

#include <algorithm>

#include "policy/Policies.h"
#include "win/Text.h"

namespace browsers {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Dotted digits, or an IPv6 literal: such a host has no subdomains.
bool IsAddress(const std::string& host) {
    if (host.find(':') != std::string::npos) return true;
    return !host.empty() && host.find_first_not_of("0123456789.") == std::string::npos;
}

// The host part of what a user may paste: "https://www.example.com:8080/x".
std::string HostOfEntry(std::string entry) {
    size_t scheme = entry.find("://");
    if (scheme != std::string::npos) entry.erase(0, scheme + 3);
    entry.erase(std::min(entry.find('/'), entry.size()));
    if (!entry.empty() && entry.front() == '[') {  // [::1]:443
        size_t close = entry.find(']');
        return close == std::string::npos ? entry : entry.substr(1, close - 1);
    }
    if (std::count(entry.begin(), entry.end(), ':') == 1) entry.erase(entry.find(':'));
    return entry;
}

}  // namespace

std::string NormaliseHost(std::string host) {
    while (!host.empty() && (IsBlank(host.back()) || host.back() == '.')) host.pop_back();
    size_t start = 0;
    while (start < host.size() && (IsBlank(host[start]) || host[start] == '.')) ++start;
    host.erase(0, start);
    for (char& c : host)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return host;
}

void CKeepList::AddHost(const std::wstring& host) {
    std::string entry = NormaliseHost(HostOfEntry(NormaliseHost(win::ToNarrow(host, CP_UTF8))));
    if (!entry.empty() && std::find(m_hosts.begin(), m_hosts.end(), entry) == m_hosts.end())
        m_hosts.push_back(entry);
}

void CKeepList::AddLines(const std::wstring& lines) {
    size_t start = 0;
    while (start <= lines.size()) {
        size_t end = lines.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = lines.size();
        AddHost(lines.substr(start, end - start));
        start = end + 1;
    }
}

void CKeepList::Add(const CKeepList& other) {
    for (const std::string& host : other.m_hosts)
        if (std::find(m_hosts.begin(), m_hosts.end(), host) == m_hosts.end()) m_hosts.push_back(host);
}

bool CKeepList::Keeps(const std::string& cookieHost) const {
    std::string host = NormaliseHost(cookieHost);
    if (host.empty()) return false;
    bool address = IsAddress(host);
    for (const std::string& kept : m_hosts) {
        if (host == kept) return true;
        if (address || host.size() <= kept.size()) continue;
        // A subdomain: the kept name after a dot, at the very end.
        if (host.compare(host.size() - kept.size(), kept.size(), kept) == 0 && host[host.size() - kept.size() - 1] == '.')
            return true;
    }
    return false;
}

CKeepList PolicyKeepList() {
    CKeepList keep;
    for (const std::wstring& host : CurrentPolicies()->keepCookies) keep.AddHost(host);
    return keep;
}

}  // namespace browsers
