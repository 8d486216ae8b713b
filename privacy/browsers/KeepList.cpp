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

// The host part of what a user may paste: "https://me@www.example.com:8080/x", "*.example.com".
std::string HostOfEntry(std::string entry) {
    size_t scheme = entry.find("://");
    if (scheme != std::string::npos) entry.erase(0, scheme + 3);
    entry.erase(std::min(entry.find_first_of("/?#"), entry.size()));
    size_t user = entry.rfind('@');
    if (user != std::string::npos) entry.erase(0, user + 1);
    if (entry.rfind("*.", 0) == 0) entry.erase(0, 2);
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

namespace {

// True when `name` ends in a dot and `parent`.
bool IsSubdomainOf(const std::string& name, const std::string& parent) {
    return name.size() > parent.size() && name.compare(name.size() - parent.size(), parent.size(), parent) == 0 &&
           name[name.size() - parent.size() - 1] == '.';
}

}  // namespace

CKeepList::CookieHost CKeepList::ReadCookieHost(const std::string& cookieHost) {
    std::string host = cookieHost;
    while (!host.empty() && IsBlank(host.front())) host.erase(0, 1);
    bool domain = !host.empty() && host.front() == '.';
    host = NormaliseHost(host);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    return {host, domain, IsAddress(host)};
}

bool CKeepList::EntryKeeps(const std::string& kept, const CookieHost& cookie) {
    if (cookie.host.empty()) return false;
    if (cookie.host == kept) return true;
    if (cookie.address) return false;
    // A subdomain of the kept site, or a domain cookie the kept site
    // receives (never one of a bare top-level name).
    return IsSubdomainOf(cookie.host, kept) ||
           (cookie.domain && cookie.host.find('.') != std::string::npos && IsSubdomainOf(kept, cookie.host));
}

bool CKeepList::Keeps(const std::string& cookieHost) const {
    CookieHost cookie = ReadCookieHost(cookieHost);
    return std::any_of(m_hosts.begin(), m_hosts.end(), [&](const std::string& kept) { return EntryKeeps(kept, cookie); });
}

void CKeepList::MarkKeepers(const std::string& cookieHost, std::vector<bool>& used) const {
    CookieHost cookie = ReadCookieHost(cookieHost);
    for (size_t i = 0; i < m_hosts.size() && i < used.size(); ++i)
        if (EntryKeeps(m_hosts[i], cookie)) used[i] = true;
}

CKeepList PolicyKeepList() {
    CKeepList keep;
    for (const std::wstring& host : CurrentPolicies()->keepCookies) keep.AddHost(host);
    return keep;
}

}  // namespace browsers
