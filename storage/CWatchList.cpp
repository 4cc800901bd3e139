#include "CWatchList.h"

#include "CProfileFile.h"
#include "CProfileText.h"
#include "ProfileSave.h"

#include <new>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

CString RecordSection(int nIndex) {
    CString section;
    section.Format("Record_%d", nIndex);
    return section;
}

} // namespace

CWatchList::CWatchList() = default;

CWatchList::~CWatchList() {
    RemoveAll();
}

int CWatchList::Add(const CWatchItem& item) {
    std::unique_ptr<CWatchItem> copy(new (std::nothrow) CWatchItem);
    if (!copy)
        return 0;
    copy->CopyFrom(item);
    try {
        m_items.insert(m_items.begin() + GetOwnCount(), std::move(copy));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

bool CWatchList::SetPolicyItems(const std::vector<CWatchItem>& items) {
    m_items.resize(static_cast<size_t>(GetOwnCount()));
    m_nPolicyItems = 0;
    try {
        for (const CWatchItem& item : items) {
            std::unique_ptr<CWatchItem> copy(new CWatchItem);
            copy->CopyFrom(item);
            m_items.push_back(std::move(copy));
            ++m_nPolicyItems;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void CWatchList::RemoveAt(int nIndex) {
    if (IsPolicyItem(nIndex)) {
        --m_nPolicyItems;
    }
    m_items.erase(m_items.begin() + nIndex);
}

void CWatchList::RemoveAll() {
    m_items.clear();
    m_nPolicyItems = 0;
}

int CWatchList::Load(const wchar_t* pszPath) {
    RemoveAll();
    CProfileFile profile(pszPath);
    int count = profile.GetInt("Main", "Count", 0);
    if (count > kMaxLoadedRecords)
        count = kMaxLoadedRecords;
    if (count <= 0)
        return 1;
    // A record without a section takes every read default; knowing that up
    // front spares seven file reads per missing record.
    std::unordered_set<std::string> sections;
    for (const std::string& name : CProfileText::ReadSectionNames(pszPath))
        sections.insert(CProfileText::UpperAscii(name));
    CWatchItem missing;
    missing.SetReadDefaults();
    CWatchItem scratch;
    for (int i = 0; i < count; ++i) {
        CString section = RecordSection(i);
        if (sections.count(CProfileText::UpperAscii(section.GetString())) != 0) {
            scratch.ReadFrom(profile, section);
            Add(scratch);
        } else {
            Add(missing);
        }
    }
    return 1;
}

int CWatchList::IndexOf(const CWatchItem* pItem) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == pItem)
            return static_cast<int>(i);
    }
    return -1;
}

int CWatchList::Save(const wchar_t* pszPath) const {
    const int nCount = GetOwnCount();
    return SaveProfileInOneStep(pszPath, nCount, [this, nCount](CProfileText& text) {
        bool ok = text.WriteInt("Main", "Count", nCount) != FALSE;
        for (int i = 0; ok && i < nCount; ++i)
            ok = GetAt(i)->WriteTo(text, RecordSection(i)) != 0;
        return ok;
    });
}
