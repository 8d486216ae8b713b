#pragma once
// The sites whose cookies a clean keeps: host names, each keeping itself and
// every subdomain ("example.com" keeps ".example.com" and "www.example.com",
// never "badexample.com" nor "example.com.evil.net"), and the domain
// cookies the site receives ("keep.example.com" keeps ".example.com", never
// "example.com" nor ".other.example.com"). An IP address keeps only itself.
#include <string>
#include <vector>

namespace browsers {

class CKeepList {
public:
    CKeepList() = default;
    // One host a line, as the user typed them; see AddHost for each line.
    explicit CKeepList(const std::wstring& lines) { AddLines(lines); }

    // Adds one host. Letter case, spaces around it, a leading "*.", leading
    // and trailing dots, a scheme ("https://"), a user name, a path and a
    // port are dropped, and the brackets of an IPv6 address ("[::1]"); an
    // empty or blank line adds nothing. Further lists (a policy's, a file's)
    // add the same way.
    void AddHost(const std::wstring& host);
    void AddLines(const std::wstring& lines);
    void Add(const CKeepList& other);

    // True when a cookie of `cookieHost` (as a browser stores it, with or
    // without its leading dot, in any letter case) is kept.
    bool Keeps(const std::string& cookieHost) const;
    // Sets `used[i]` for every entry i that keeps a cookie of `cookieHost`;
    // `used` has one flag an entry.
    void MarkKeepers(const std::string& cookieHost, std::vector<bool>& used) const;
    bool Empty() const { return m_hosts.empty(); }
    const std::vector<std::string>& Hosts() const { return m_hosts; }

private:
    struct CookieHost {
        std::string host;  // normalised
        bool domain;       // stored with a leading dot: sent to every subdomain
        bool address;
    };
    static CookieHost ReadCookieHost(const std::string& cookieHost);
    static bool EntryKeeps(const std::string& kept, const CookieHost& cookie);
    std::vector<std::string> m_hosts;  // normalised, ASCII lower case
};

// The sites whose cookies the policies in force keep (KeepCookies).
CKeepList PolicyKeepList();

// The form every comparison takes: lower case, no surrounding blanks or dots.
std::string NormaliseHost(std::string host);

}  // namespace browsers
