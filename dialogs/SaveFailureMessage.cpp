#include "SaveFailureMessage.h"

#include "ProfileSave.h"
#include "WideText.h"
#include "resource.h"

#include <string>

void ShowSaveFailure(HWND hOwner, const wchar_t* pszPath, DWORD dwError) {
    wchar_t* pszSystem = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, dwError, 0, reinterpret_cast<wchar_t*>(&pszSystem), 0, nullptr);
    const wchar_t* args[] = {pszPath, pszSystem ? pszSystem : L""};
    const std::wstring strText = FormatWideString(IDS_SAVE_FAILED, args, 2);
    if (pszSystem) {
        LocalFree(pszSystem);
    }
    MessageBoxW(hOwner, strText.c_str(), FormatWideString(IDS_APP_TITLE, nullptr, 0).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

bool SaveSettingsOrTell(HWND hOwner, const wchar_t* pszPath,
                        const std::function<bool(CProfileText&)>& write) {
    if (SaveProfileInOneStep(pszPath, 0, write)) {
        return true;
    }
    ShowSaveFailure(hOwner, pszPath, GetLastError());
    return false;
}
