#include "CAutoRun.h"

#include "WideText.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// A 32-bit program on 64-bit Windows writes the machine-wide Run key in the
// 32-bit view; both views start their programs at log-on, so both count. The
// user's key is one key in both views.
const REGSAM kMachineViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

enum class Missing { Fail, Create };

class OpenKey {
public:
    OpenKey(RegistryKeyPath path, REGSAM access, Missing missing = Missing::Fail)
        : m_status(missing == Missing::Create
                       ? RegCreateKeyExA(path.hRoot, path.pszSubKey, 0, nullptr, 0, access, nullptr,
                                         &m_hKey, nullptr)
                       : RegOpenKeyExA(path.hRoot, path.pszSubKey, 0, access, &m_hKey)) {
        if (m_status != ERROR_SUCCESS)
            m_hKey = nullptr;
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() { Close(); }

    LONG OpenStatus() const { return m_status; }
    HKEY Get() const { return m_hKey; }
    LONG Close() {
        HKEY hKey = m_hKey;
        m_hKey = nullptr;
        return hKey ? RegCloseKey(hKey) : ERROR_SUCCESS;
    }

private:
    HKEY m_hKey = nullptr;
    LONG m_status;
};

// The first failure of an operation and of the close that ends it.
LONG FirstFailure(LONG operation, LONG close) {
    return operation != ERROR_SUCCESS ? operation : close;
}

bool HasValue(RegistryKeyPath path, REGSAM view, const char* pszName) {
    OpenKey key(path, KEY_QUERY_VALUE | view);
    return key.Get() && RegQueryValueExA(key.Get(), pszName, nullptr, nullptr, nullptr, nullptr) ==
                            ERROR_SUCCESS;
}

// ERROR_FILE_NOT_FOUND when the value was not there.
LONG DeleteValue(RegistryKeyPath path, REGSAM view, const char* pszName) {
    if (!HasValue(path, view, pszName))
        return ERROR_FILE_NOT_FOUND;
    OpenKey key(path, KEY_SET_VALUE | view);
    if (!key.Get())
        return key.OpenStatus();
    LONG status = RegDeleteValueA(key.Get(), pszName);
    return FirstFailure(status, key.Close());
}

} // namespace

const RegistryKeyPath CAutoRun::kUserRunKey = {HKEY_CURRENT_USER, kRunKey};
const RegistryKeyPath CAutoRun::kMachineRunKey = {HKEY_LOCAL_MACHINE, kRunKey};

CAutoRun::CAutoRun(const char* pszValueName, RegistryKeyPath userKey, RegistryKeyPath machineKey)
    : m_strValueName(pszValueName), m_userKey(userKey), m_machineKey(machineKey) {}

CAutoRun::~CAutoRun() = default;

bool CAutoRun::IsEnabled() const {
    if (HasValue(m_userKey, 0, m_strValueName))
        return true;
    for (REGSAM view : kMachineViews) {
        if (HasValue(m_machineKey, view, m_strValueName))
            return true;
    }
    return false;
}

LONG CAutoRun::Enable(const char* pszParameters) const {
    // A new profile has no Run key of its own.
    OpenKey key(m_userKey, KEY_SET_VALUE, Missing::Create);
    if (!key.Get())
        return key.OpenStatus();
    // As the system spells it: a folder name that the ANSI code page cannot
    // hold would otherwise reach the registry as '?' and start nothing.
    const std::wstring path = ModulePath();
    if (path.empty())
        return ERROR_INSUFFICIENT_BUFFER;
    // Unquoted, a path with spaces ("C:\Program Files\...") is split at the
    // first space by whoever starts it.
    std::wstring data = L"\"" + path + L"\"";
    if (pszParameters && *pszParameters) {
        data += L" ";
        data += WideFromAnsi(pszParameters);
    }
    LONG status = RegSetValueExW(key.Get(), WideFromAnsi(m_strValueName).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    return FirstFailure(status, key.Close());
}

LONG CAutoRun::Disable(MachineValue machineValue) const {
    LONG result = DeleteValue(m_userKey, 0, m_strValueName);
    for (REGSAM view : kMachineViews) {
        LONG status = ERROR_FILE_NOT_FOUND;
        if (machineValue == MachineValue::Delete) {
            status = DeleteValue(m_machineKey, view, m_strValueName);
        } else if (HasValue(m_machineKey, view, m_strValueName)) {
            status = ERROR_ACCESS_DENIED;
        }
        if (status == ERROR_FILE_NOT_FOUND)
            continue;
        // A value that stays wins over one that went.
        if (status != ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND)
            result = status;
    }
    return result;
}

bool CAutoRun::Toggle(MachineValue machineValue) const {
    if (IsEnabled()) {
        Disable(machineValue);
    } else {
        Enable();
    }
    return IsEnabled();
}
