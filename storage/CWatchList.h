#pragma once

#include "CWatchItem.h"

#include <memory>
#include <vector>

// The ordered watch list; owns its items. The user's own come first; after
// them come the programs an administrator's policy watches, which the user
// cannot change and the list file never holds.
class CWatchList {
public:
    // A damaged Count must not keep start-up busy for hours.
    static constexpr int kMaxLoadedRecords = 10000;

    CWatchList();
    CWatchList(const CWatchList&) = delete;
    CWatchList& operator=(const CWatchList&) = delete;
    virtual ~CWatchList();

    int GetCount() const { return static_cast<int>(m_items.size()); }
    CWatchItem* GetAt(int nIndex) const { return m_items[static_cast<size_t>(nIndex)].get(); }
    void CopyItem(int nIndex, CWatchItem& out) const { out.CopyFrom(*GetAt(nIndex)); }
    // Where the list holds this very item now, or -1 when it holds it no more.
    int IndexOf(const CWatchItem* pItem) const;

    // The user's items: rows 0 to GetOwnCount() - 1.
    int GetOwnCount() const { return static_cast<int>(m_items.size()) - m_nPolicyItems; }
    bool IsPolicyItem(int nIndex) const { return nIndex >= GetOwnCount(); }
    // Adds one of the user's items after the user's last; 1 when it was added.
    int Add(const CWatchItem& item);
    // The policy's items in place of the ones before; false when memory ran out.
    bool SetPolicyItems(const std::vector<CWatchItem>& items);
    void RemoveAt(int nIndex);
    void RemoveAll();

    int Load(const wchar_t* pszPath);
    // The user's items alone. Replaces the file in one step (SaveProfileInOneStep): a reader sees the
    // old list or the new one. Returns 0, with the old file untouched and the
    // cause in GetLastError, when anything fails.
    int Save(const wchar_t* pszPath) const;

private:
    std::vector<std::unique_ptr<CWatchItem>> m_items;
    int m_nPolicyItems = 0;
};
