#pragma once
// Read-only access to one INI file through the platform's private-profile
// reader, with a buffer of 300 characters.
#include <string>

class CIni {
public:
    static constexpr int kBufferChars = 300;

    explicit CIni(std::wstring fileName = {}) : m_strFileName(std::move(fileName)) {}
    CIni(const CIni&) = delete;
    CIni& operator=(const CIni&) = delete;
    // Asks the platform to drop its cached copy of the file; never writes a value.
    ~CIni();

    const std::wstring& GetFileName() const { return m_strFileName; }
    void SetFileName(const std::wstring& fileName) { m_strFileName = fileName; }

    // The value of `key` in `section`; the default when there is no file name,
    // or when the value is missing or empty. Values are cut to 299 characters.
    std::wstring GetString(const std::wstring& section, const std::wstring& key, const std::wstring& def) const;

    // Flushes the platform's cache of the file.
    void Flush() const;

private:
    std::wstring m_strFileName;
};
