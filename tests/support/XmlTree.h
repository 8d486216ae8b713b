#pragma once
// An XML document read by the system's XML parser (MSXML 6) into a plain
// tree that tests look into; reading fails on anything not well formed.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct XmlElement {
    std::wstring name;       // the local name
    std::wstring namespaceUri;
    std::map<std::wstring, std::wstring> attributes;
    std::wstring text;       // the character data of the element and all below it
    std::vector<XmlElement> children;

    std::wstring Attribute(const std::wstring& attribute) const;
    // Every element `name` at or below this one, in document order.
    std::vector<const XmlElement*> All(const std::wstring& name) const;
};

// The root element of the file or text; nothing, and `error` set, when it is no well-formed XML.
std::optional<XmlElement> ReadXmlFile(const std::wstring& path, std::wstring& error);
std::optional<XmlElement> ReadXmlText(const std::wstring& text, std::wstring& error);

}  // namespace testing_support
