#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A private-profile file built in memory and written in one piece. Its
// sections start as the platform's profile functions read them from an
// existing file; each write changes them as the platform's own writer changes
// the file, so that a reader gets back what it would after writing key by key.
class CProfileText {
public:
    // The section names of the file in their order, as the platform lists them.
    static std::vector<std::string> ReadSectionNames(const wchar_t* pszPath);
    // Upper-cased, as the profile functions match names without regard to case.
    static std::string UpperAscii(const std::string& text);

    // Takes the sections of the file in the order of names, each with its keys
    // as the platform reads them; a section whose upper-cased name is in
    // unread starts empty.
    void ReadSections(const wchar_t* pszPath, const std::vector<std::string>& names,
                      const std::unordered_set<std::string>& unread);
    // Adds a section after the others unless one of that name exists already.
    // pszEntries holds "key=value" texts, each ended by a NUL, the list by a second NUL.
    void AddSection(const char* pszName, const char* pszEntries);

    BOOL WriteString(const char* pszSection, const char* pszKey, const char* pszValue);
    BOOL WriteInt(const char* pszSection, const char* pszKey, int nValue);
    // The section and its keys go, as when the platform writes it without a key.
    void RemoveSection(const char* pszSection);

    std::string GetText() const;

private:
    struct Section {
        std::string name;
        std::vector<std::string> entries;
    };
    Section& FindOrAdd(const char* pszName);

    // The first holds the keys before any section header; it has no name.
    std::vector<Section> m_sections{Section()};
    std::unordered_map<std::string, size_t> m_index;
};
