#include "CProfileText.h"

#include "WideText.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

// What the platform's parser takes for blanks, ^Z (an old end-of-file mark) included.
bool IsProfileSpace(char c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

// Reads a list of NUL-ended texts that ends with a second NUL, growing the
// buffer while the platform reports that it was cut; the texts come back in
// the ANSI code page, as the ANSI functions give them.
template <class ReadFn> std::vector<char> ReadList(ReadFn read) {
    std::vector<wchar_t> buffer(16 * 1024);
    for (;;) {
        DWORD n = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n + 2 < buffer.size() || buffer.size() >= (32u << 20)) {
            std::vector<char> list;
            std::string text;
            for (const wchar_t* item = buffer.data(); item < buffer.data() + n && *item;
                 item += std::wcslen(item) + 1) {
                CodePageFromWide(item, CP_ACP, &text);
                list.insert(list.end(), text.begin(), text.end());
                list.push_back('\0');
            }
            list.push_back('\0');
            list.push_back('\0');
            return list;
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

// The platform's ANSI writer passes every value through Unicode: bytes that
// are no valid character in the code page come out changed, and a lead byte
// at the very end of a value is dropped (in the file it would swallow the
// line break).
std::string AsWrittenByPlatform(const char* pszValue) {
    std::string value(pszValue);
    bool ascii = true;
    for (char c : value)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!ascii) {
        size_t i = 0;
        while (i < value.size())
            i += IsDBCSLeadByte(static_cast<BYTE>(value[i])) ? 2 : 1;
        if (i > value.size())
            value.pop_back();
        int wide = MultiByteToWideChar(CP_ACP, 0, value.data(), static_cast<int>(value.size()),
                                       nullptr, 0);
        std::wstring w(static_cast<size_t>(wide), L'\0');
        if (wide > 0)
            MultiByteToWideChar(CP_ACP, 0, value.data(), static_cast<int>(value.size()), &w[0],
                                wide);
        int bytes = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
        value.assign(static_cast<size_t>(bytes), '\0');
        if (bytes > 0)
            WideCharToMultiByte(CP_ACP, 0, w.data(), wide, &value[0], bytes, nullptr, nullptr);
    }
    // The writer drops leading blanks; the reader would drop them anyway.
    size_t start = 0;
    while (start < value.size() && IsProfileSpace(value[start]))
        ++start;
    return value.substr(start);
}

size_t KeyLength(const std::string& entry) {
    size_t eq = entry.find('=');
    return eq == std::string::npos ? entry.size() : eq;
}

bool SameKey(const std::string& entry, const char* pszKey) {
    size_t n = KeyLength(entry);
    if (n != std::strlen(pszKey))
        return false;
    for (size_t i = 0; i < n; ++i) {
        char a = entry[i], b = pszKey[i];
        if (a >= 'a' && a <= 'z')
            a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z')
            b = static_cast<char>(b - 'a' + 'A');
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

std::vector<std::string> CProfileText::ReadSectionNames(const wchar_t* pszPath) {
    std::vector<char> list = ReadList([pszPath](wchar_t* buffer, DWORD size) {
        return GetPrivateProfileSectionNamesW(buffer, size, pszPath);
    });
    std::vector<std::string> names;
    for (const char* name = list.data(); *name; name += std::strlen(name) + 1)
        names.emplace_back(name);
    return names;
}

std::string CProfileText::UpperAscii(const std::string& text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

void CProfileText::ReadSections(const wchar_t* pszPath, const std::vector<std::string>& names,
                                const std::unordered_set<std::string>& unread) {
    auto readSection = [pszPath](const char* section) {
        const std::wstring wideSection = WideFromAnsi(section);
        return ReadList([pszPath, &wideSection](wchar_t* buffer, DWORD size) {
            return GetPrivateProfileSectionW(wideSection.c_str(), buffer, size, pszPath);
        });
    };
    // Keys above the first header belong to the nameless section.
    std::vector<char> entries = readSection("");
    for (const char* entry = entries.data(); *entry; entry += std::strlen(entry) + 1)
        m_sections[0].entries.emplace_back(entry);

    for (const std::string& name : names) {
        if (name.empty() || m_index.count(UpperAscii(name)) != 0)
            continue;
        if (unread.count(UpperAscii(name)) != 0) {
            AddSection(name.c_str(), "\0");
        } else {
            entries = readSection(name.c_str());
            AddSection(name.c_str(), entries.data());
        }
    }
}

void CProfileText::AddSection(const char* pszName, const char* pszEntries) {
    std::string upper = UpperAscii(pszName);
    if (m_index.count(upper) != 0)
        return;
    m_index.emplace(upper, m_sections.size());
    m_sections.push_back(Section{pszName, {}});
    for (const char* entry = pszEntries; *entry; entry += std::strlen(entry) + 1)
        m_sections.back().entries.emplace_back(entry);
}

CProfileText::Section& CProfileText::FindOrAdd(const char* pszName) {
    auto found = m_index.find(UpperAscii(pszName));
    if (found != m_index.end())
        return m_sections[found->second];
    AddSection(pszName, "\0");
    return m_sections.back();
}

BOOL CProfileText::WriteString(const char* pszSection, const char* pszKey, const char* pszValue) {
    Section& section = FindOrAdd(pszSection);
    std::string value = AsWrittenByPlatform(pszValue);
    // The first key of that name takes the value and keeps its spelling; later
    // ones stay unread, as after a write through the platform.
    for (std::string& entry : section.entries) {
        if (SameKey(entry, pszKey)) {
            entry.resize(KeyLength(entry));
            entry += '=';
            entry += value;
            return TRUE;
        }
    }
    section.entries.push_back(std::string(pszKey) + "=" + value);
    return TRUE;
}

BOOL CProfileText::WriteInt(const char* pszSection, const char* pszKey, int nValue) {
    char szText[128];
    std::snprintf(szText, sizeof szText, "%d", nValue);
    return WriteString(pszSection, pszKey, szText);
}

void CProfileText::RemoveSection(const char* pszSection) {
    const auto found = m_index.find(UpperAscii(pszSection));
    if (found == m_index.end()) {
        return;
    }
    const size_t nRemoved = found->second;
    m_sections.erase(m_sections.begin() + static_cast<std::ptrdiff_t>(nRemoved));
    m_index.erase(found);
    for (auto& entry : m_index) {
        if (entry.second > nRemoved) {
            --entry.second;
        }
    }
}

std::string CProfileText::GetText() const {
    size_t size = 0;
    for (const Section& section : m_sections) {
        size += section.name.size() + 4;
        for (const std::string& entry : section.entries)
            size += entry.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const Section& section : m_sections) {
        if (!section.name.empty()) {
            text += '[';
            text += section.name;
            text += "]\r\n";
        }
        for (const std::string& entry : section.entries) {
            text += entry;
            text += "\r\n";
        }
    }
    return text;
}
