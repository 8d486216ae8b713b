#include "support/StrictJson.h"

#include <cwchar>

namespace testing_support {

namespace {

class Reader {
public:
    explicit Reader(const std::wstring& text) : m_text(text) {}

    std::optional<JsonValue> Document() {
        JsonValue value;
        if (!Value(value)) return std::nullopt;
        Blanks();
        return m_at == m_text.size() ? std::optional<JsonValue>(std::move(value)) : std::nullopt;
    }

private:
    void Blanks() {
        while (m_at < m_text.size() && wcschr(L" \t\r\n", m_text[m_at]) && m_text[m_at]) ++m_at;
    }
    bool Take(wchar_t c) {
        Blanks();
        return m_at < m_text.size() && m_text[m_at] == c && (++m_at, true);
    }
    bool Word(const wchar_t* word) {
        size_t n = wcslen(word);
        return m_text.compare(m_at, n, word) == 0 && (m_at += n, true);
    }
    bool String(std::wstring& out) {
        if (!Take(L'"')) return false;
        for (; m_at < m_text.size() && m_text[m_at] != L'"'; ++m_at) {
            wchar_t c = m_text[m_at];
            if (c < 0x20) return false;
            if (c != L'\\') {
                out += c;
                continue;
            }
            if (++m_at >= m_text.size()) return false;
            const wchar_t* escapes = L"\"\\/bfnrt";
            const wchar_t* meant = L"\"\\/\b\f\n\r\t";
            if (const wchar_t* at = wcschr(escapes, m_text[m_at]); at && *at) {
                out += meant[at - escapes];
            } else if (m_text[m_at] == L'u' && m_at + 4 < m_text.size()) {
                out += static_cast<wchar_t>(wcstoul(m_text.substr(m_at + 1, 4).c_str(), nullptr, 16));
                m_at += 4;
            } else {
                return false;
            }
        }
        return m_at < m_text.size() && (++m_at, true);
    }
    bool Number(double& out) {
        size_t start = m_at;
        if (m_at < m_text.size() && m_text[m_at] == L'-') ++m_at;
        if (m_at >= m_text.size() || !iswdigit(m_text[m_at])) return false;
        if (m_text[m_at] == L'0' && m_at + 1 < m_text.size() && iswdigit(m_text[m_at + 1])) return false;
        while (m_at < m_text.size() && (iswdigit(m_text[m_at]) || wcschr(L".eE+-", m_text[m_at]))) ++m_at;
        out = wcstod(m_text.substr(start, m_at - start).c_str(), nullptr);
        return true;
    }
    bool Value(JsonValue& value) {
        using Kind = JsonValue::Kind;
        Blanks();
        if (m_at >= m_text.size()) return false;
        switch (m_text[m_at]) {
        case L'{': {
            value.kind = Kind::Object;
            Take(L'{');
            if (Take(L'}')) return true;
            do {
                std::wstring name;
                JsonValue member;
                if (!String(name) || !Take(L':') || !Value(member) || value.members.count(name)) return false;
                value.members[name] = std::move(member);
            } while (Take(L','));
            return Take(L'}');
        }
        case L'[':
            value.kind = Kind::Array;
            Take(L'[');
            if (Take(L']')) return true;
            do {
                value.items.emplace_back();
                if (!Value(value.items.back())) return false;
            } while (Take(L','));
            return Take(L']');
        case L'"':
            value.kind = Kind::String;
            return String(value.text);
        case L't':
        case L'f':
            value.kind = Kind::Bool;
            value.boolean = m_text[m_at] == L't';
            return Word(value.boolean ? L"true" : L"false");
        case L'n':
            return Word(L"null");
        default:
            value.kind = Kind::Number;
            return Number(value.number);
        }
    }

    const std::wstring& m_text;
    size_t m_at = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::wstring& name) const {
    static const JsonValue none;
    auto found = members.find(name);
    return found == members.end() ? none : found->second;
}

std::optional<JsonValue> ParseStrictJson(const std::wstring& text) { return Reader(text).Document(); }

}  // namespace testing_support
