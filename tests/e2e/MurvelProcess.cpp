#include "MurvelProcess.h"

#include "MenuProbeProtocol.h"
#include "TestPaths.h"

#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <vector>

namespace {

constexpr DWORD kStartTimeoutMs = 15000;

struct WindowSearch {
    DWORD pid;
    const char* className;
    const char* title;
    HWND found;
    HWND skip;
    // When set, only a window that this one owns.
    HWND owner;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || hwnd == search->skip ||
        (search->owner && GetWindow(hwnd, GW_OWNER) != search->owner))
        return TRUE;
    char text[256] = "";
    if (search->className) {
        GetClassNameA(hwnd, text, sizeof text);
        if (strcmp(text, search->className) != 0)
            return TRUE;
    }
    if (search->title) {
        GetWindowTextA(hwnd, text, sizeof text);
        if (strcmp(text, search->title) != 0)
            return TRUE;
    }
    search->found = hwnd;
    return FALSE;
}

HWND FindProcessWindow(DWORD pid, const char* className, const char* title, HWND skip = nullptr) {
    WindowSearch search = {pid, className, title, nullptr, skip, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Convert(const std::string& text, UINT from, UINT to) {
    int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &w[0], wide);
    int n = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(to, 0, w.data(), wide, &out[0], n, nullptr, nullptr);
    return out;
}

bool InstanceMutexExists() {
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, kMurvelMutexName);
    if (hMutex)
        CloseHandle(hMutex);
    return hMutex != nullptr;
}

// Stops or resumes every thread of a process, as a loaded machine may hold
// one up.
void HoldThreads(DWORD pid, bool bHold) {
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Thread32First(hSnapshot, &entry); ok; ok = Thread32Next(hSnapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        if (HANDLE hThread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
            if (bHold)
                SuspendThread(hThread);
            else
                ResumeThread(hThread);
            CloseHandle(hThread);
        }
    }
    CloseHandle(hSnapshot);
}

DWORD FindProcess(const wchar_t* exeName) {
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD pid = 0;
    for (BOOL ok = Process32FirstW(hSnapshot, &entry); ok && !pid;
         ok = Process32NextW(hSnapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, exeName) == 0)
            pid = entry.th32ProcessID;
    }
    CloseHandle(hSnapshot);
    return pid;
}

bool CopyIn(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

} // namespace

std::string Utf8FromWide(const std::wstring& wide) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n,
                            nullptr, nullptr);
    return out;
}

std::string Ansi(const char* utf8) {
    return Convert(utf8, CP_UTF8, CP_ACP);
}

std::string Utf8(const std::string& ansi) {
    return Convert(ansi, CP_ACP, CP_UTF8);
}

class MurvelProcess::RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size) : m_process(process) {
        m_address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (m_address)
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    char* Address(size_t offset = 0) const { return static_cast<char*>(m_address) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return WriteProcessMemory(m_process, Address(offset), data, size, nullptr) != FALSE;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return ReadProcessMemory(m_process, Address(offset), data, size, nullptr) != FALSE;
    }

private:
    HANDLE m_process;
    void* m_address;
};

MurvelProcess::MurvelProcess() : m_ownDir(std::make_unique<TempDir>()), m_folder(m_ownDir->Path()) {
    CopyIn(SiblingProgram("Murvel.exe"), File("Murvel.exe"));
    CopyIn(SiblingProgram("TessikDLL.dll"), File("TessikDLL.dll"));
}

MurvelProcess::MurvelProcess(const std::string& folder) : m_folder(folder) {}

MurvelProcess::MurvelProcess(const std::wstring& folderName)
    : m_ownDir(std::make_unique<TempDir>()) {
    m_wideFolder = Wide(m_ownDir->Path()) + L"\\" + folderName;
    CreateDirectoryW(m_wideFolder.c_str(), nullptr);
    m_folder = m_ownDir->Path() + "\\" + Convert(Utf8FromWide(folderName), CP_UTF8, CP_ACP);
    for (const char* name : {"Murvel.exe", "TessikDLL.dll"})
        CopyFileW(Wide(SiblingProgram(name)).c_str(), WideFile(name).c_str(), FALSE);
}

std::wstring MurvelProcess::WideFile(const char* name) const {
    return (m_wideFolder.empty() ? Wide(m_folder) : m_wideFolder) + L"\\" + Wide(name);
}

MurvelProcess::~MurvelProcess() {
    if (m_hProbeHook)
        UnhookWindowsHookEx(m_hProbeHook);
    if (m_process) {
        if (!HasExited())
            Close(5000);
        if (!HasExited()) {
            TerminateProcess(m_process, 9);
            WaitForSingleObject(m_process, 5000);
        }
        CloseHandle(m_process);
    }
    // The temporary folder's clean-up goes by ANSI names: empty this one first.
    if (!m_wideFolder.empty()) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((m_wideFolder + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring full = m_wideFolder + L"\\" + fd.cFileName;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(m_wideFolder.c_str());
    }
}

bool MurvelProcess::PutFile(const char* name, const std::string& utf8Text) const {
    const std::string bytes = Ansi(utf8Text.c_str());
    HANDLE h =
        CreateFileW(WideFile(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(h);
    return ok && put == bytes.size();
}

std::string MurvelProcess::PutProgram(const std::string& folder, const std::string& program) const {
    for (size_t end = 0; end != std::string::npos;) {
        end = folder.find('\\', end + 1);
        CreateDirectoryA(File(folder.substr(0, end).c_str()).c_str(), nullptr);
    }
    const std::string copy =
        File(folder.c_str()) + program.substr(program.find_last_of('\\'), std::string::npos);
    return CopyFileA(program.c_str(), copy.c_str(), FALSE) ? copy : std::string();
}

std::wstring MurvelProcess::CommandLine(const std::string& arguments) const {
    std::wstring cmd = L"\"" + WideFile("Murvel.exe") + L"\"";
    if (!arguments.empty())
        cmd += L" " + Wide(arguments);
    return cmd;
}

std::wstring MurvelProcess::WideFolder() const {
    return m_wideFolder.empty() ? Wide(m_folder) : m_wideFolder;
}

bool MurvelProcess::Launch(const std::string& arguments, PROCESS_INFORMATION* pi) const {
    std::wstring cmd = CommandLine(arguments);
    // The test runner may have a console (run from a terminal), which a
    // program it starts could attach to; one the shell starts finds none.
    HANDLE hShell = OpenProcess(PROCESS_CREATE_PROCESS, FALSE, FindProcess(L"explorer.exe"));
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attributes(size);
    auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    const bool bChild = hShell && InitializeProcThreadAttributeList(list, 1, 0, &size) &&
                        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_PARENT_PROCESS,
                                                  &hShell, sizeof hShell, nullptr, nullptr);
    STARTUPINFOEXW si = {};
    si.StartupInfo.cb = sizeof si;
    si.lpAttributeList = bChild ? list : nullptr;
    // The program's output must not hold the test runner's pipes open.
    const BOOL ok = CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE,
                                   DETACHED_PROCESS | (bChild ? EXTENDED_STARTUPINFO_PRESENT : 0),
                                   nullptr, WideFolder().c_str(), &si.StartupInfo, pi);
    if (bChild)
        DeleteProcThreadAttributeList(list);
    if (hShell)
        CloseHandle(hShell);
    if (!ok)
        return false;
    CloseHandle(pi->hThread);
    return true;
}

int MurvelProcess::RunRedirected(const std::string& arguments, std::string* out, std::string* err,
                                 DWORD timeoutMs) const {
    TempDir dir;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE hOut = CreateFileA(dir.File("out.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              &inherited, CREATE_ALWAYS, 0, nullptr);
    HANDLE hErr = CreateFileA(dir.File("err.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              &inherited, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = hOut;
    si.hStdError = hErr;
    std::wstring cmd = CommandLine(arguments);
    PROCESS_INFORMATION pi = {};
    const BOOL ok = CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE, DETACHED_PROCESS,
                                   nullptr, WideFolder().c_str(), &si, &pi);
    CloseHandle(hOut);
    CloseHandle(hErr);
    if (!ok)
        return -1;
    CloseHandle(pi.hThread);
    const int code = WaitForExit(pi.hProcess, timeoutMs);
    // Written as console programs write to a file: in the OEM code page.
    *out = Convert(ReadWholeFile(dir.File("out.txt")), CP_OEMCP, CP_UTF8);
    *err = Convert(ReadWholeFile(dir.File("err.txt")), CP_OEMCP, CP_UTF8);
    return code;
}

bool MurvelProcess::Start(const std::string& arguments) {
    PROCESS_INFORMATION pi = {};
    if (!Launch(arguments, &pi))
        return false;
    m_process = pi.hProcess;
    m_processId = pi.dwProcessId;
    return WaitForMainWindow();
}

int MurvelProcess::StartRacedBy(const std::string& arguments) {
    PROCESS_INFORMATION pi = {};
    if (!Launch("", &pi))
        return -1;
    m_process = pi.hProcess;
    m_processId = pi.dwProcessId;
    WaitFor(InstanceMutexExists, kStartTimeoutMs);
    // Held up between taking the mutex and publishing its window while the
    // other instance starts and looks for that window.
    HoldThreads(m_processId, true);
    PROCESS_INFORMATION later = {};
    const bool bLaunched = Launch(arguments, &later);
    Sleep(1500);
    HoldThreads(m_processId, false);
    if (!bLaunched)
        return -1;
    const bool bStarted = WaitForMainWindow();
    const int code = WaitForExit(later.hProcess, kStartTimeoutMs);
    return bStarted ? code : -1;
}

int MurvelProcess::WaitForExit(HANDLE hProcess, DWORD timeoutMs) {
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(hProcess, &code);
    else
        TerminateProcess(hProcess, 9);
    CloseHandle(hProcess);
    return static_cast<int>(code);
}

bool MurvelProcess::WaitForMainWindow() {
    WaitFor(
        [this] {
            m_hMain = FindProcessWindow(m_processId, "#32770", nullptr);
            return m_hMain != nullptr || HasExited();
        },
        kStartTimeoutMs);
    // The window exists before its initialisation has run: a message sent now
    // could be handled while that initialisation waits on the shell. The
    // first idle moment comes after it.
    if (m_hMain)
        WaitForInputIdle(m_process, kStartTimeoutMs);
    return m_hMain != nullptr;
}

int MurvelProcess::RunAgain(const std::string& arguments, DWORD timeoutMs) const {
    PROCESS_INFORMATION pi = {};
    if (!Launch(arguments, &pi))
        return -1;
    return WaitForExit(pi.hProcess, timeoutMs);
}

int MurvelProcess::RunAndAnswer(const std::string& arguments, int nButton, const char* utf8Caption,
                                DWORD timeoutMs) const {
    PROCESS_INFORMATION pi = {};
    if (!Launch(arguments, &pi))
        return -1;
    const std::string caption = Ansi(utf8Caption);
    HWND hBox = nullptr;
    WaitFor(
        [&] {
            hBox = FindProcessWindow(pi.dwProcessId, "#32770", caption.c_str());
            return hBox != nullptr || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    DWORD code = static_cast<DWORD>(-1);
    if (hBox) {
        PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hBox, nButton)));
        if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &code);
    }
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 9);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

void MurvelProcess::RunWatchCycle() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_hMain, WM_TIMER, 0, 0, SMTO_NORMAL, 10000, &result);
}

void MurvelProcess::CountdownTick() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_hMain, WM_TIMER, 1, 0, SMTO_NORMAL, 10000, &result);
}

HWND MurvelProcess::TopWindow(const char* title) const {
    return FindProcessWindow(m_processId, nullptr, title);
}

bool MurvelProcess::Close(DWORD timeoutMs) {
    if (!m_process)
        return false;
    if (m_hMain)
        PostMessageA(m_hMain, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0)
        return false;
    // The next test's program must not find this one's single-instance mutex,
    // which the system may free a moment after the process has ended.
    WaitFor([] { return !InstanceMutexExists(); }, 5000);
    return true;
}

bool MurvelProcess::HasExited() const {
    return !m_process || WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
}

HWND MurvelProcess::TrayWindow() const {
    return FindProcessWindow(m_processId, nullptr, "TrayIconWnd");
}

bool MurvelProcess::HasTrayIcon() const {
    HWND hTray = TrayWindow();
    if (!hTray)
        return false;
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = hTray;
    data.uID = 0;
    // Modifying nothing succeeds exactly when the shell has the icon.
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

std::string MurvelProcess::Title() const {
    char text[256] = "";
    DWORD_PTR n = 0;
    SendMessageTimeoutA(m_hMain, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 5000, &n);
    return Utf8(text);
}

int MurvelProcess::RowCount() const {
    return static_cast<int>(SendMessageA(GetDlgItem(m_hMain, 1000), LVM_GETITEMCOUNT, 0, 0));
}

void MurvelProcess::SelectRow(int row) const {
    RemoteBuffer remote(m_process, sizeof(LVITEMA));
    LVITEMA item = {};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof item);
    SendMessageA(GetDlgItem(m_hMain, 1000), LVM_SETITEMSTATE, row,
                 reinterpret_cast<LPARAM>(remote.Address()));
}

void MurvelProcess::ClickRow(int row) const {
    RemoteBuffer remote(m_process, sizeof(RECT));
    RECT r = {LVIR_LABEL, 0, 0, 0};
    remote.Write(0, &r, sizeof r);
    HWND hList = GetDlgItem(m_hMain, 1000);
    SendMessageA(hList, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(0, &r, sizeof r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // Posted both: the list view waits for the release to tell a click
    // from a drag.
    PostMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(hList, WM_LBUTTONUP, 0, at);
}

void MurvelProcess::PressKey(UINT vk) const {
    HWND hList = GetDlgItem(m_hMain, 1000);
    PostMessageA(hList, WM_KEYDOWN, vk, 1);
    PostMessageA(hList, WM_KEYUP, vk, 0xC0000001);
}

int MurvelProcess::SelectedRow() const {
    return static_cast<int>(SendMessageA(GetDlgItem(m_hMain, 1000), LVM_GETNEXTITEM,
                                         static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

std::string MurvelProcess::CellText(int row, int column) const {
    const size_t textSize = 1024;
    RemoteBuffer remote(m_process, sizeof(LVITEMA) + textSize);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = remote.Address(sizeof item);
    item.cchTextMax = textSize;
    remote.Write(0, &item, sizeof item);
    int n = static_cast<int>(SendMessageA(GetDlgItem(m_hMain, 1000), LVM_GETITEMTEXTA, row,
                                          reinterpret_cast<LPARAM>(remote.Address())));
    std::vector<char> text(textSize, '\0');
    remote.Read(sizeof item, text.data(), textSize);
    return Utf8(std::string(text.data(), static_cast<size_t>(n > 0 ? n : 0)));
}

std::string MurvelProcess::HeadingText(int column) const {
    const size_t textSize = 256;
    RemoteBuffer remote(m_process, sizeof(LVCOLUMNA) + textSize);
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = remote.Address(sizeof info);
    info.cchTextMax = textSize;
    remote.Write(0, &info, sizeof info);
    SendMessageA(GetDlgItem(m_hMain, 1000), LVM_GETCOLUMNA, column,
                 reinterpret_cast<LPARAM>(remote.Address()));
    std::vector<char> text(textSize, '\0');
    remote.Read(sizeof info, text.data(), textSize);
    return Utf8(text.data());
}

int MurvelProcess::StringWidth(const char* utf8) const {
    const std::string text = Ansi(utf8);
    RemoteBuffer remote(m_process, text.size() + 1);
    remote.Write(0, text.c_str(), text.size() + 1);
    return static_cast<int>(SendMessageA(GetDlgItem(m_hMain, 1000), LVM_GETSTRINGWIDTHA, 0,
                                         reinterpret_cast<LPARAM>(remote.Address())));
}

bool MurvelProcess::ButtonsWholeAtMinimumSize() const {
    MINMAXINFO info = {};
    SendMessageA(m_hMain, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    SetWindowPos(m_hMain, nullptr, 0, 0, info.ptMinTrackSize.x, info.ptMinTrackSize.y,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sync();
    RECT client;
    GetClientRect(m_hMain, &client);
    std::vector<RECT> buttons;
    for (int id : {1013, 1003, 1001, 1002}) {
        RECT r;
        GetWindowRect(GetDlgItem(m_hMain, id), &r);
        MapWindowPoints(nullptr, m_hMain, reinterpret_cast<POINT*>(&r), 2);
        RECT inside;
        if (!IntersectRect(&inside, &r, &client) || !EqualRect(&inside, &r))
            return false;
        for (const RECT& other : buttons) {
            if (IntersectRect(&inside, &r, &other))
                return false;
        }
        buttons.push_back(r);
    }
    return true;
}

int MurvelProcess::ColumnWidth(int column) const {
    return static_cast<int>(SendMessageA(GetDlgItem(m_hMain, 1000), LVM_GETCOLUMNWIDTH, column, 0));
}

RECT MurvelProcess::WindowRect() const {
    RECT r = {};
    GetWindowRect(m_hMain, &r);
    return r;
}

bool MurvelProcess::IsControlEnabled(int nID) const {
    return IsWindowEnabled(GetDlgItem(m_hMain, nID)) != FALSE;
}

bool MurvelProcess::AttachMenuProbe() const {
    if (m_hProbeHook)
        return true;
    HMODULE hProbe = LoadLibraryA(SiblingProgram("MenuProbe.dll").c_str());
    HOOKPROC proc = hProbe ? reinterpret_cast<HOOKPROC>(
                                 reinterpret_cast<void*>(GetProcAddress(hProbe, "MenuProbeHook")))
                           : nullptr;
    DWORD thread = GetWindowThreadProcessId(m_hMain, nullptr);
    if (proc && thread)
        m_hProbeHook = SetWindowsHookExA(WH_CALLWNDPROC, proc, hProbe, thread);
    return m_hProbeHook != nullptr;
}

UINT MurvelProcess::MenuState(UINT nID) const {
    if (!AttachMenuProbe())
        return static_cast<UINT>(-1);
    RemovePropA(m_hMain, MenuProbe::kMenuState);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_hMain, RegisterWindowMessageA(MenuProbe::kQueryMessage), nID, 0,
                        SMTO_NORMAL, 5000, &result);
    UINT_PTR stored = reinterpret_cast<UINT_PTR>(GetPropA(m_hMain, MenuProbe::kMenuState));
    return static_cast<UINT>(stored - 1);
}

int MurvelProcess::ShownChanges() const {
    if (!AttachMenuProbe())
        return -1;
    return static_cast<int>(
        reinterpret_cast<UINT_PTR>(GetPropA(m_hMain, MenuProbe::kShownChanges)));
}

std::string MurvelProcess::MenuText(UINT nID) const {
    if (!AttachMenuProbe())
        return "";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_hMain, RegisterWindowMessageA(MenuProbe::kQueryMessage), nID, 1,
                        SMTO_NORMAL, 5000, &result);
    ATOM atom =
        static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropA(m_hMain, MenuProbe::kMenuText)));
    char text[256] = "";
    GlobalGetAtomNameA(atom, text, sizeof text);
    GlobalDeleteAtom(atom);
    return Utf8(text);
}

bool MurvelProcess::OpenTrayMenu(std::string* firstItemText, int* defaultPosition) const {
    HWND hTray = TrayWindow();
    if (!hTray || !AttachMenuProbe())
        return false;
    RemovePropA(m_hMain, MenuProbe::kPopupFirstText);
    RemovePropA(m_hMain, MenuProbe::kPopupDefault);
    const UINT kTrayNotify = WM_USER + 122;
    PostMessageA(hTray, kTrayNotify, 0, WM_RBUTTONDOWN);
    ATOM atom = 0;
    if (!WaitFor([&] {
            atom = static_cast<ATOM>(
                reinterpret_cast<UINT_PTR>(GetPropA(m_hMain, MenuProbe::kPopupFirstText)));
            return atom != 0;
        }))
        return false;
    char text[256] = "";
    GlobalGetAtomNameA(atom, text, sizeof text);
    GlobalDeleteAtom(atom);
    *firstItemText = Utf8(text);
    *defaultPosition =
        static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropA(m_hMain, MenuProbe::kPopupDefault))) -
        1;
    Sync();
    return true;
}

void MurvelProcess::Command(UINT nID) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_hMain, WM_COMMAND, MAKEWPARAM(nID, 0), 0, SMTO_NORMAL, 10000, &result);
}

void MurvelProcess::Sync() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_hMain, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

void MurvelProcess::PostCommand(UINT nID) const {
    PostMessageA(m_hMain, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}

HWND MurvelProcess::WaitForDialog(const char* utf8Title) const {
    const std::string title = Ansi(utf8Title);
    HWND hDlg = nullptr;
    WaitFor([&] {
        // The main window is a dialog too, with the program's name as title.
        hDlg = FindProcessWindow(m_processId, "#32770", title.c_str(), m_hMain);
        return hDlg != nullptr && IsWindowVisible(hDlg);
    });
    return hDlg;
}

bool MurvelProcess::WaitForClosed(HWND hDlg) const {
    return WaitFor([&] { return !IsWindow(hDlg); });
}

std::string MurvelProcess::AnswerBox(HWND hOwner, int nButton) const {
    // The static that holds a message box's text has this id; a box is
    // listed before its controls are made.
    const int kTextId = 0xFFFF;
    WindowSearch search = {m_processId, "#32770", nullptr, nullptr, nullptr, hOwner};
    if (!WaitFor([&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found && IsWindowVisible(search.found) &&
                   GetDlgItem(search.found, kTextId);
        }))
        return std::string();
    wchar_t text[2048] = L"";
    GetDlgItemTextW(search.found, kTextId, text, 2048);
    Click(search.found, nButton);
    WaitForClosed(search.found);
    return Utf8FromWide(text);
}

void MurvelProcess::Click(HWND hDlg, int nID) {
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nID)));
}

namespace {

DWORD WINAPI NotifyForeground(void* pWnd) {
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, static_cast<HWND>(pWnd), OBJID_WINDOW, CHILDID_SELF);
    return 0;
}

} // namespace

bool BringToFront(HWND hWnd) {
    SetForegroundWindow(hWnd);
    if (!WaitFor([&] { return GetForegroundWindow() == hWnd; }, 5000))
        return false;
    // From a new thread: Wine sends events only from threads that know of the
    // hook, which a thread that used the window manager before may not.
    HANDLE hThread = CreateThread(nullptr, 0, NotifyForeground, hWnd, 0, nullptr);
    if (!hThread)
        return false;
    WaitForSingleObject(hThread, 5000);
    CloseHandle(hThread);
    return true;
}
