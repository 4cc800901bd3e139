#include "AdminPolicy.h"

#include "WideText.h"

#include <algorithm>
#include <cwctype>
#include <utility>

const char kPolicyKey[] = "SOFTWARE\\Policies\\Qorvane";
const char kPolicyWatchedKey[] = "SOFTWARE\\Policies\\Qorvane\\WatchedPrograms";
const char kPolicyDisableKeepAwake[] = "DisableKeepAwake";
const char kPolicyMaxHoldMinutes[] = "MaxHoldMinutes";
const char kPolicyDisableComputerAwake[] = "DisableComputerAwake";
const char kPolicyDisableAreaBlackout[] = "DisableAreaBlackout";
const PolicyValueName kPolicyValues[4] = {
    {kPolicyDisableKeepAwake, 0, 1},
    {kPolicyMaxHoldMinutes, 1, 7 * 24 * 60},
    {kPolicyDisableComputerAwake, 0, 1},
    {kPolicyDisableAreaBlackout, 0, 1},
};

namespace {

enum { kKeepAwake, kMaxHold, kComputer, kBlackout };

// A hive holding more than this is no policy an editor wrote.
const DWORD kMaxValuesRead = 4 * kPolicyMaxWatched;

bool IsNumber(const std::wstring& name) {
    return !name.empty() && name.size() <= 9 &&
           std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

std::wstring Trimmed(std::wstring text) {
    const auto blank = [](wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; };
    while (!text.empty() && blank(text.back())) {
        text.pop_back();
    }
    size_t nLead = 0;
    while (nLead < text.size() && blank(text[nLead])) {
        ++nLead;
    }
    return text.substr(nLead);
}

// HKEY_LOCAL_MACHINE\SOFTWARE is redirected for a 32-bit program on a 64-bit
// system; Group Policy writes the 64-bit view.
HKEY OpenPolicyKey(HKEY hRoot, const char* pszKey) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ | KEY_WOW64_64KEY, &hKey) != ERROR_SUCCESS) {
        return nullptr;
    }
    return hKey;
}

class CRegKey {
public:
    explicit CRegKey(HKEY hKey) : m_hKey(hKey) {}
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    ~CRegKey() {
        if (m_hKey) {
            RegCloseKey(m_hKey);
        }
    }
    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey;
};

void ReadWatched(HKEY hRoot, PolicyHive& hive) {
    CRegKey key(OpenPolicyKey(hRoot, kPolicyWatchedKey));
    if (!key.Get()) {
        return;
    }
    std::vector<std::pair<std::wstring, CString>> found;
    // Bytes for the longest path taken, its NUL and one more character that
    // tells a longer one apart.
    std::vector<BYTE> data((kPolicyMaxPathChars + 2) * sizeof(wchar_t));
    for (DWORD dwIndex = 0; dwIndex < kMaxValuesRead; ++dwIndex) {
        wchar_t name[64];
        DWORD cchName = 64, dwType = 0, cbData = static_cast<DWORD>(data.size());
        const LONG lResult = RegEnumValueW(key.Get(), dwIndex, name, &cchName, nullptr, &dwType,
                                           data.data(), &cbData);
        if (lResult == ERROR_NO_MORE_ITEMS) {
            break;
        }
        CString strPath;
        // A name or path too long for the buffers is no program of ours.
        if (lResult == ERROR_SUCCESS && TakePolicyPath(dwType, data.data(), cbData, &strPath)) {
            found.emplace_back(std::wstring(name, cchName), strPath);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& left, const auto& right) {
        return PolicyNameBefore(left.first, right.first);
    });
    for (const auto& entry : found) {
        if (static_cast<int>(hive.watched.size()) >= kPolicyMaxWatched) {
            break;
        }
        hive.watched.push_back(entry.second);
    }
}

} // namespace

bool AdminPolicy::operator==(const AdminPolicy& other) const {
    return bDisableKeepAwake == other.bDisableKeepAwake &&
           nMaxHoldMinutes == other.nMaxHoldMinutes &&
           bDisableComputerAwake == other.bDisableComputerAwake &&
           bDisableAreaBlackout == other.bDisableAreaBlackout && watched == other.watched;
}

bool TakePolicyDword(int nIndex, DWORD dwType, const BYTE* pData, DWORD cbData, DWORD* pValue) {
    if (nIndex < 0 || nIndex >= 4 || dwType != REG_DWORD || cbData != sizeof(DWORD) || !pData) {
        return false;
    }
    DWORD dwValue = 0;
    std::copy(pData, pData + sizeof dwValue, reinterpret_cast<BYTE*>(&dwValue));
    if (dwValue < kPolicyValues[nIndex].dwMin || dwValue > kPolicyValues[nIndex].dwMax) {
        return false;
    }
    *pValue = dwValue;
    return true;
}

bool TakePolicyPath(DWORD dwType, const BYTE* pData, DWORD cbData, CString* pPath) {
    if ((dwType != REG_SZ && dwType != REG_EXPAND_SZ) || !pData) {
        return false;
    }
    // The registry does not promise a terminating NUL, nor an even size.
    std::wstring text(reinterpret_cast<const wchar_t*>(pData), cbData / sizeof(wchar_t));
    text = text.substr(0, text.find(L'\0'));
    if (dwType == REG_EXPAND_SZ) {
        wchar_t expanded[kPolicyMaxPathChars + 1];
        const DWORD cch =
            ExpandEnvironmentStringsW(text.c_str(), expanded, kPolicyMaxPathChars + 1);
        if (cch == 0 || cch > kPolicyMaxPathChars + 1) {
            return false;
        }
        text = expanded;
    }
    text = Trimmed(text);
    if (text.empty() || text.size() > static_cast<size_t>(kPolicyMaxPathChars)) {
        return false;
    }
    return AnsiFromWide(text.c_str(), pPath);
}

bool PolicyNameBefore(const std::wstring& left, const std::wstring& right) {
    const bool bLeftNumber = IsNumber(left), bRightNumber = IsNumber(right);
    if (bLeftNumber != bRightNumber) {
        return bLeftNumber;
    }
    if (bLeftNumber) {
        return std::stoul(left) < std::stoul(right);
    }
    return left < right;
}

AdminPolicy MergeAdminPolicy(const PolicyHive& machine, const PolicyHive& user) {
    DWORD dwValue[4] = {};
    for (int n = 0; n < 4; ++n) {
        dwValue[n] = machine.bSet[n] ? machine.dwValue[n] : user.bSet[n] ? user.dwValue[n] : 0;
    }
    AdminPolicy policy;
    policy.bDisableKeepAwake = dwValue[kKeepAwake] == 1;
    policy.nMaxHoldMinutes = static_cast<int>(dwValue[kMaxHold]);
    policy.bDisableComputerAwake = dwValue[kComputer] == 1;
    policy.bDisableAreaBlackout = dwValue[kBlackout] == 1;
    for (const PolicyHive* pHive : {&machine, &user}) {
        for (const CString& strPath : pHive->watched) {
            const bool bSeen =
                std::any_of(policy.watched.begin(), policy.watched.end(),
                            [&](const CString& seen) { return lstrcmpiA(seen, strPath) == 0; });
            if (!bSeen && static_cast<int>(policy.watched.size()) < kPolicyMaxWatched) {
                policy.watched.push_back(strPath);
            }
        }
    }
    return policy;
}

std::vector<CWatchItem> PolicyWatchItems(const std::vector<CString>& paths) {
    std::vector<CWatchItem> items;
    for (const CString& strPath : paths) {
        CWatchItem item;
        item.m_strFileName = strPath;
        // The file's name without its extension, walked by characters: a
        // double-byte character's second byte may be a backslash's.
        const char* pszName = strPath;
        const char* pszDot = nullptr;
        for (const char* p = strPath; *p; p = CharNextA(p)) {
            if (*p == '\\' || *p == '/') {
                pszName = p + 1;
                pszDot = nullptr;
            } else if (*p == '.') {
                pszDot = p;
            }
        }
        std::string name(pszName,
                         pszDot && pszDot > pszName ? pszDot : pszName + lstrlenA(pszName));
        item.m_strTitle = name.c_str();
        item.m_nValidCondition = 1;
        item.m_nMonitorEffec = 3;
        item.m_nAreaBlack = 0;
        item.m_nKeepSystemAwake = 0;
        items.push_back(item);
    }
    return items;
}

PolicyHive ReadPolicyHive(HKEY hRoot) {
    PolicyHive hive;
    CRegKey key(OpenPolicyKey(hRoot, kPolicyKey));
    if (!key.Get()) {
        return hive;
    }
    for (int n = 0; n < 4; ++n) {
        BYTE data[sizeof(DWORD)] = {};
        DWORD dwType = 0, cbData = sizeof data;
        if (RegQueryValueExA(key.Get(), kPolicyValues[n].pszName, nullptr, &dwType, data,
                             &cbData) == ERROR_SUCCESS) {
            hive.bSet[n] = TakePolicyDword(n, dwType, data, cbData, &hive.dwValue[n]);
        }
    }
    ReadWatched(hRoot, hive);
    return hive;
}

AdminPolicy ReadAdminPolicy() {
    return MergeAdminPolicy(ReadPolicyHive(HKEY_LOCAL_MACHINE), ReadPolicyHive(HKEY_CURRENT_USER));
}
