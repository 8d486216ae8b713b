#include "support/XmlTree.h"

#include <windows.h>
#include <msxml2.h>

#include "win/ComInit.h"
#include "win/ComPtr.h"

namespace testing_support {

namespace {

const CLSID kDomDocument60 = {0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
const IID kIXMLDOMDocument = {0x2933bf81, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

XmlElement Convert(IXMLDOMNode* node) {
    XmlElement element;
    win::Bstr text;
    if (SUCCEEDED(node->get_baseName(text.Put()))) element.name = text.Text();
    if (SUCCEEDED(node->get_namespaceURI(text.Put()))) element.namespaceUri = text.Text();
    if (SUCCEEDED(node->get_text(text.Put()))) element.text = text.Text();
    win::ComPtr<IXMLDOMNamedNodeMap> attributes;
    LONG count = 0;
    if (SUCCEEDED(node->get_attributes(attributes.Put())) && attributes && SUCCEEDED(attributes->get_length(&count)))
        for (LONG i = 0; i < count; ++i) {
            win::ComPtr<IXMLDOMNode> attribute;
            win::Bstr name;
            VARIANT value;
            ::VariantInit(&value);
            if (SUCCEEDED(attributes->get_item(i, attribute.Put())) && SUCCEEDED(attribute->get_nodeName(name.Put())) &&
                SUCCEEDED(attribute->get_nodeValue(&value)) && value.vt == VT_BSTR)
                element.attributes[name.Text()] = std::wstring(value.bstrVal, ::SysStringLen(value.bstrVal));
            ::VariantClear(&value);
        }
    win::ComPtr<IXMLDOMNode> child;
    for (node->get_firstChild(child.Put()); child;) {
        DOMNodeType type;
        if (SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT) element.children.push_back(Convert(child.Get()));
        win::ComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.Put());
        child = std::move(next);
    }
    return element;
}

std::optional<XmlElement> Read(bool fromFile, const std::wstring& source, std::wstring& error) {
    win::ComInit com;
    win::ComPtr<IXMLDOMDocument> document;
    if (FAILED(::CoCreateInstance(kDomDocument60, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument,
                                  document.PutVoid()))) {
        error = L"no XML parser";
        return std::nullopt;
    }
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    win::Bstr text(source);
    if (fromFile) {
        VARIANT path;
        ::VariantInit(&path);
        path.vt = VT_BSTR;
        path.bstrVal = text.Get();
        document->load(path, &loaded);
    } else {
        document->loadXML(text.Get(), &loaded);
    }
    win::ComPtr<IXMLDOMElement> root;
    if (loaded != VARIANT_TRUE || FAILED(document->get_documentElement(root.Put())) || !root) {
        win::ComPtr<IXMLDOMParseError> parseError;
        win::Bstr reason;
        if (SUCCEEDED(document->get_parseError(parseError.Put())) && parseError) parseError->get_reason(reason.Put());
        error = L"not well formed: " + reason.Text();
        return std::nullopt;
    }
    return Convert(root.Get());
}

void Collect(const XmlElement& element, const std::wstring& name, std::vector<const XmlElement*>& found) {
    if (element.name == name) found.push_back(&element);
    for (const XmlElement& child : element.children) Collect(child, name, found);
}

}  // namespace

std::wstring XmlElement::Attribute(const std::wstring& attribute) const {
    auto found = attributes.find(attribute);
    return found == attributes.end() ? std::wstring() : found->second;
}

std::vector<const XmlElement*> XmlElement::All(const std::wstring& name) const {
    std::vector<const XmlElement*> found;
    Collect(*this, name, found);
    return found;
}

std::optional<XmlElement> ReadXmlFile(const std::wstring& path, std::wstring& error) { return Read(true, path, error); }
std::optional<XmlElement> ReadXmlText(const std::wstring& text, std::wstring& error) { return Read(false, text, error); }

}  // namespace testing_support
