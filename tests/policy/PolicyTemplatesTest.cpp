// The Group Policy templates beside the program: well formed, shaped as the
// Group Policy editor reads them, and naming exactly the values the program
// reads, in the form it reads them, with every text in every language.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "policy/Policies.h"
#include "support/XmlTree.h"
#include "win/Path.h"

using namespace testing_support;

namespace {

constexpr const wchar_t* kNamespace = L"http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions";

XmlElement Read(const std::wstring& relative) {
    std::wstring error;
    std::optional<XmlElement> root = ReadXmlFile(JoinPath(ProgramFolder(), L"policy\\" + relative), error);
    EXPECT_TRUE(root) << relative.c_str() << ": " << error.c_str();
    return root.value_or(XmlElement{});
}

// The X of every "$(kind.X)" attribute below `root`.
std::set<std::wstring> References(const XmlElement& root, const std::wstring& kind) {
    std::set<std::wstring> ids;
    std::wstring open = L"$(" + kind + L".";
    std::vector<const XmlElement*> stack{&root};
    while (!stack.empty()) {
        const XmlElement* element = stack.back();
        stack.pop_back();
        for (const auto& [name, value] : element->attributes)
            if (value.rfind(open, 0) == 0 && value.back() == L')')
                ids.insert(value.substr(open.size(), value.size() - open.size() - 1));
        for (const XmlElement& child : element->children) stack.push_back(&child);
    }
    return ids;
}

std::set<std::wstring> Ids(const XmlElement& root, const std::wstring& element) {
    std::set<std::wstring> ids;
    for (const XmlElement* found : root.All(element)) ids.insert(found->Attribute(L"id"));
    return ids;
}

}  // namespace

TEST(PolicyTemplates, TheAdmxNamesEveryValueTheProgramReadsInItsFormAndEachAdmlEveryText) {
    XmlElement admx = Read(L"brisko.admx");
    EXPECT_EQ(admx.name, L"policyDefinitions");
    EXPECT_EQ(admx.namespaceUri, kNamespace);
    std::vector<std::wstring> parts;
    for (const XmlElement& part : admx.children) parts.push_back(part.name);
    EXPECT_EQ(parts, (std::vector<std::wstring>{L"policyNamespaces", L"resources", L"supportedOn", L"categories",
                                                 L"policies"}));
    std::set<std::wstring> categories, supported;
    for (const XmlElement* category : admx.All(L"category")) categories.insert(category->Attribute(L"name"));
    for (const XmlElement* definition : admx.All(L"definition")) supported.insert(definition->Attribute(L"name"));

    std::map<std::wstring, PolicyForm> written;  // value name -> the form the template writes
    std::map<std::wstring, std::wstring> presentationOf;  // presentation id -> the element id it shows
    for (const XmlElement* policy : admx.All(L"policy")) {
        SCOPED_TRACE(policy->Attribute(L"name").c_str());
        EXPECT_EQ(policy->Attribute(L"key"), kPolicyKey);
        EXPECT_EQ(policy->Attribute(L"class"), L"Both");
        ASSERT_EQ(policy->All(L"parentCategory").size(), 1u);
        EXPECT_EQ(categories.count(policy->All(L"parentCategory")[0]->Attribute(L"ref")), 1u);
        EXPECT_EQ(supported.count(policy->All(L"supportedOn")[0]->Attribute(L"ref")), 1u);
        if (std::wstring flag = policy->Attribute(L"valueName"); !flag.empty()) {
            std::vector<const XmlElement*> numbers = policy->All(L"decimal");
            ASSERT_EQ(numbers.size(), 2u);
            EXPECT_EQ(numbers[0]->Attribute(L"value"), L"1");  // enabled
            EXPECT_EQ(numbers[1]->Attribute(L"value"), L"0");  // disabled
            written[flag] = PolicyForm::Flag;
        }
        for (const auto& [tag, form] : {std::pair{L"text", PolicyForm::Text}, std::pair{L"multiText", PolicyForm::List}})
            for (const XmlElement* element : policy->All(tag)) {
                written[element->Attribute(L"valueName")] = form;
                std::wstring shown = policy->Attribute(L"presentation");
                presentationOf[shown.substr(15, shown.size() - 16)] = element->Attribute(L"id");
            }
    }
    std::map<std::wstring, PolicyForm> read;
    for (const PolicyValue& value : PolicyValues()) read[value.name] = value.form;
    EXPECT_EQ(written, read);

    std::set<std::wstring> englishStrings;
    for (const wchar_t* language : {L"en-US", L"it-IT", L"zh-CN", L"zh-TW"}) {
        SCOPED_TRACE(language);
        XmlElement adml = Read(std::wstring(language) + L"\\brisko.adml");
        EXPECT_EQ(adml.name, L"policyDefinitionResources");
        EXPECT_EQ(adml.namespaceUri, kNamespace);
        std::set<std::wstring> strings = Ids(adml, L"string");
        for (const std::wstring& id : References(admx, L"string")) EXPECT_EQ(strings.count(id), 1u) << id.c_str();
        for (const XmlElement* text : adml.All(L"string")) EXPECT_FALSE(text->text.empty());
        if (englishStrings.empty()) englishStrings = strings;
        EXPECT_EQ(strings, englishStrings);
        EXPECT_EQ(Ids(adml, L"presentation"), References(admx, L"presentation"));
        for (const XmlElement* presentation : adml.All(L"presentation")) {
            ASSERT_EQ(presentation->children.size(), 1u);
            EXPECT_EQ(presentation->children[0].Attribute(L"refId"), presentationOf[presentation->Attribute(L"id")]);
        }
    }
}
