// The administrative templates in package/policies against the names the
// program reads (AdminPolicy.h): a template that names another key or value,
// or a range the program refuses, sets a policy that silently does nothing.
#include "AdminPolicy.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

struct XmlElement {
    std::string name; // without a namespace prefix
    std::map<std::string, std::string> attributes;
    std::string text;
    int parent; // index of the enclosing element, -1 for the root

    std::string Attribute(const char* attribute, const char* absent = "") const {
        auto at = attributes.find(attribute);
        return at == attributes.end() ? absent : at->second;
    }
};

// The elements of a document in document order, or the first fault: a tag of
// another form (an unquoted attribute, a stray "<"), tags that do not nest, a
// bad entity, text outside the one root.
std::vector<XmlElement> ReadElements(const std::string& xml, std::string& fault) {
    static const std::regex tag(R"(<!--[\s\S]*?-->|<\?[^>]*\?>|)"
                                R"(<(/?)(?:\w+:)?(\w+)((?:\s+[\w:]+="[^"<]*")*)\s*(/?)>)");
    static const std::regex attribute(R"(([\w:]+)="([^"]*)\")");
    static const std::regex badEntity(R"(&(?!(amp|lt|gt|quot|apos|#[0-9]+|#x[0-9a-fA-F]+);))");
    std::vector<XmlElement> elements;
    std::vector<int> open;
    if (std::regex_search(xml, badEntity))
        fault = "a bad entity";
    size_t last = 0;
    const std::sregex_iterator end;
    for (std::sregex_iterator m(xml.begin(), xml.end(), tag); fault.empty(); ++m) {
        const size_t at = m == end ? xml.size() : static_cast<size_t>(m->position());
        const std::string text = xml.substr(last, at - last);
        if (text.find_first_of("<>") != std::string::npos)
            fault = "a malformed tag after byte " + std::to_string(last);
        else if (open.empty() && text.find_first_not_of(" \t\r\n\xEF\xBB\xBF") != std::string::npos)
            fault = "text outside the root at byte " + std::to_string(last);
        else if (!open.empty())
            elements[static_cast<size_t>(open.back())].text += text;
        if (m == end || !fault.empty())
            break;
        last = at + static_cast<size_t>(m->length());
        const std::string name = (*m)[2];
        if (name.empty())
            continue; // a comment or the declaration
        if ((*m)[1].length()) {
            if (open.empty() || elements[static_cast<size_t>(open.back())].name != name)
                fault = "a stray </" + name + ">";
            else
                open.pop_back();
            continue;
        }
        if (open.empty() && !elements.empty())
            fault = "a second root <" + name + ">";
        XmlElement element{name, {}, "", open.empty() ? -1 : open.back()};
        const std::string attributes = (*m)[3];
        for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end; ++a)
            if (!element.attributes.emplace((*a)[1], (*a)[2]).second)
                fault = "a repeated attribute in <" + name + ">";
        elements.push_back(element);
        if (!(*m)[4].length())
            open.push_back(static_cast<int>(elements.size()) - 1);
    }
    if (fault.empty() && (!open.empty() || elements.empty()))
        fault = "an unclosed element";
    return fault.empty() ? elements : std::vector<XmlElement>();
}

struct Document {
    std::string fault;
    std::vector<XmlElement> elements;

    explicit Document(const std::string& relative) {
        const std::string xml = ReadWholeFile(std::string(QV_POLICIES_DIR) + "/" + relative);
        elements = xml.empty() ? std::vector<XmlElement>() : ReadElements(xml, fault);
        if (xml.empty())
            fault = "cannot be read";
    }
    const XmlElement* Parent(const XmlElement& e) const {
        return e.parent < 0 ? nullptr : &elements[static_cast<size_t>(e.parent)];
    }
    // The nearest enclosing element of that name.
    const XmlElement* Enclosing(const XmlElement& e, const char* name) const {
        const XmlElement* p = Parent(e);
        while (p && p->name != name)
            p = Parent(*p);
        return p;
    }
};

const char* const kLanguages[] = {"en-US/Qorvane.adml", "zh-CN/Qorvane.adml"};

// "X" of "$(kind.X)", or "" when the value is no such reference.
std::string ReferenceId(const std::string& value, const std::string& kind) {
    const std::string mark = "$(" + kind + ".";
    if (value.compare(0, mark.size(), mark) != 0 || value.back() != ')')
        return "";
    return value.substr(mark.size(), value.size() - mark.size() - 1);
}

// What the template refers to in the languages' files, in any attribute.
std::set<std::string> References(const Document& admx, const std::string& kind) {
    std::set<std::string> ids;
    for (const XmlElement& e : admx.elements)
        for (const auto& attribute : e.attributes)
            if (!ReferenceId(attribute.second, kind).empty())
                ids.insert(ReferenceId(attribute.second, kind));
    return ids;
}

} // namespace

TEST(PolicyTemplates, SetTheProgramsKeysAndValuesWithinTheirRanges) {
    const Document admx("Qorvane.admx");
    ASSERT_EQ("", admx.fault);
    ASSERT_EQ("policyDefinitions", admx.elements[0].name);

    std::map<std::string, const PolicyValueName*> program;
    for (const PolicyValueName& value : kPolicyValues)
        program[value.pszName] = &value;
    std::set<std::string> named;
    int lists = 0;
    for (const XmlElement& e : admx.elements) {
        const std::string key = e.Attribute("key", kPolicyKey);
        EXPECT_TRUE(key == kPolicyKey || key == kPolicyWatchedKey) << e.name << " key " << key;
        if (e.name == "policy") {
            EXPECT_EQ("Both", e.Attribute("class")) << e.Attribute("name");
        }
        if (e.name == "list") {
            ++lists;
            EXPECT_EQ(kPolicyWatchedKey, key);
            // Only an empty prefix gives the names "1", "2", ... the program reads.
            EXPECT_EQ("", e.Attribute("valuePrefix", "absent"));
            EXPECT_NE("true", e.Attribute("explicitValue"));
        }
        const std::string valueName = e.Attribute("valueName", "absent");
        if (valueName == "absent")
            continue;
        ASSERT_TRUE(program.count(valueName)) << "unknown value " << valueName;
        named.insert(valueName);
        // The DWORD values live in the key itself, not among the watched programs.
        const XmlElement* policy = e.name == "policy" ? &e : admx.Enclosing(e, "policy");
        const std::string policyKey = policy ? policy->Attribute("key") : "";
        EXPECT_EQ(kPolicyKey, e.Attribute("key", policyKey.c_str())) << valueName;
        const PolicyValueName& range = *program[valueName];
        if (e.name == "decimal") {
            // The schema's defaults, which a missing bound falls back to.
            EXPECT_EQ(std::to_string(range.dwMin), e.Attribute("minValue", "0")) << valueName;
            EXPECT_EQ(std::to_string(range.dwMax), e.Attribute("maxValue", "9999")) << valueName;
            continue;
        }
        // An on-off policy: what enabling and disabling write.
        int written = 0;
        for (const XmlElement& d : admx.elements) {
            const XmlElement* holder = admx.Parent(d);
            if (d.name != "decimal" || !holder || admx.Parent(*holder) != &e)
                continue;
            const unsigned long v = std::stoul(d.Attribute("value", "-"));
            EXPECT_TRUE(v >= range.dwMin && v <= range.dwMax) << valueName << " " << v;
            ++written;
        }
        EXPECT_EQ(2, written) << valueName;
    }
    EXPECT_EQ(1, lists);
    for (const auto& value : program)
        EXPECT_TRUE(named.count(value.first)) << "no policy sets " << value.first;
}

TEST(PolicyTemplates, EveryTextTheTemplateNamesIsInBothLanguages) {
    const Document admx("Qorvane.admx");
    ASSERT_EQ("", admx.fault);
    const std::set<std::string> strings = References(admx, "string");
    const std::set<std::string> presentations = References(admx, "presentation");
    for (const char* language : kLanguages) {
        const Document adml(language);
        ASSERT_EQ("", adml.fault) << language;
        ASSERT_EQ("policyDefinitionResources", adml.elements[0].name) << language;
        std::set<std::string> definedStrings, definedPresentations;
        for (const XmlElement& e : adml.elements) {
            if (e.name == "string") {
                definedStrings.insert(e.Attribute("id"));
                EXPECT_NE("", e.text) << language << " " << e.Attribute("id");
            } else if (e.name == "presentation") {
                definedPresentations.insert(e.Attribute("id"));
            }
        }
        EXPECT_EQ(strings, definedStrings) << language;
        EXPECT_EQ(presentations, definedPresentations) << language;
    }
}
