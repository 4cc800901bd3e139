#include "CAutoRun.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class RunKey {
public:
    RunKey() : m_status(RegOpenKeyA(HKEY_LOCAL_MACHINE, kRunKey, &m_hKey)) {
        if (m_status != ERROR_SUCCESS)
            m_hKey = nullptr;
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    ~RunKey() { Close(); }

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

} // namespace

CAutoRun::CAutoRun(const char* pszValueName) : m_strValueName(pszValueName) {}

CAutoRun::~CAutoRun() = default;

bool CAutoRun::IsEnabled() const {
    RunKey key;
    if (key.OpenStatus() != ERROR_SUCCESS)
        return false;
    DWORD cbData = MAX_PATH;
    return RegQueryValueExA(key.Get(), m_strValueName, nullptr, nullptr, nullptr, &cbData) ==
           ERROR_SUCCESS;
}

LONG CAutoRun::Enable(const char* pszParameters) const {
    RunKey key;
    if (key.OpenStatus() != ERROR_SUCCESS)
        return key.OpenStatus();
    char path[2 * MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A cut path would start nothing, or something else.
    if (length == 0 || length >= sizeof path)
        return ERROR_INSUFFICIENT_BUFFER;
    CString data(path, length);
    if (pszParameters && *pszParameters) {
        data += " ";
        data += pszParameters;
    }
    LONG status = RegSetValueExA(key.Get(), m_strValueName, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.GetString()),
                                 static_cast<DWORD>(data.GetLength() + 1));
    return FirstFailure(status, key.Close());
}

LONG CAutoRun::Disable() const {
    RunKey key;
    if (key.OpenStatus() != ERROR_SUCCESS)
        return key.OpenStatus();
    LONG status = RegDeleteValueA(key.Get(), m_strValueName);
    return FirstFailure(status, key.Close());
}
