#include "BenchProgram.h"

#include <cstring>

namespace {

struct MainSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchMain(HWND hwnd, LPARAM lParam) {
    MainSearch* search = reinterpret_cast<MainSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char className[64] = "";
    GetClassNameA(hwnd, className, sizeof className);
    if (pid != search->pid || std::strcmp(className, "#32770") != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

double Seconds(const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           1e7;
}

bool WriteText(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return written == text.size();
}

template <typename T> T Export(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

std::string BenchOwnPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

std::string BenchSibling(const char* name) {
    const std::string own = BenchOwnPath();
    return own.substr(0, own.find_last_of('\\') + 1) + name;
}

BenchProgram::BenchProgram(const char* programName, const std::string& list,
                           const std::string& settings) {
    if (!CopyFileA(BenchSibling(programName).c_str(), m_dir.File("Murvel.exe").c_str(), FALSE) ||
        !CopyFileA(BenchSibling("TessikDLL.dll").c_str(), m_dir.File("TessikDLL.dll").c_str(),
                   FALSE) ||
        !WriteText(m_dir.File("Tessik.dat"), list) ||
        !WriteText(m_dir.File("Tessik.ini"), settings))
        return;
    std::string cmd = "\"" + m_dir.File("Murvel.exe") + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, m_dir.Path().c_str(),
                        &si, &m_pi))
        return;
    MainSearch search = {m_pi.dwProcessId, nullptr};
    for (int i = 0; i < 1000 && !search.found; ++i) {
        Sleep(10);
        EnumWindows(MatchMain, reinterpret_cast<LPARAM>(&search));
    }
    m_hMain = search.found;
    if (!m_hMain)
        return;
    // The window exists before its initialisation (which loads the list) has
    // run; the first idle moment comes after it.
    WaitForInputIdle(m_pi.hProcess, 15000);
    m_hProbe = LoadLibraryA(BenchSibling("CycleProbe.dll").c_str());
    if (!m_hProbe)
        return;
    const DWORD thread = GetWindowThreadProcessId(m_hMain, nullptr);
    m_hCallHook = SetWindowsHookExA(WH_CALLWNDPROC, Export<HOOKPROC>(m_hProbe, "CycleProbeCallWnd"),
                                    m_hProbe, thread);
    m_hGetHook = SetWindowsHookExA(WH_GETMESSAGE, Export<HOOKPROC>(m_hProbe, "CycleProbeGetMsg"),
                                   m_hProbe, thread);
}

BenchProgram::~BenchProgram() {
    if (m_hCallHook)
        UnhookWindowsHookEx(m_hCallHook);
    if (m_hGetHook)
        UnhookWindowsHookEx(m_hGetHook);
    if (m_hProbe)
        FreeLibrary(m_hProbe);
    if (!m_pi.hProcess)
        return;
    if (m_hMain)
        PostMessageA(m_hMain, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_pi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(m_pi.hProcess, 1);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

double BenchProgram::CpuSeconds() const {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(m_pi.hProcess, &created, &exited, &kernel, &user))
        return -1;
    return Seconds(kernel) + Seconds(user);
}

UINT_PTR BenchProgram::Prop(const char* name) const {
    return reinterpret_cast<UINT_PTR>(GetPropA(m_hMain, name));
}
