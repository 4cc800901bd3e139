#pragma once

#include "TempDir.h"

#include <windows.h>

#include <memory>
#include <string>

// The real Murvel.exe, copied with its hook library into a fresh folder and
// driven from the test process as the system and other programs would drive
// it: window messages, its files, its windows.
class MurvelProcess {
public:
    // A copy of the program just built, in a fresh folder removed at the end.
    MurvelProcess();
    // The program as it already lies in a folder prepared by someone else
    // (for instance one the test may not write); the folder is left alone.
    explicit MurvelProcess(const std::string& folder);
    // A copy in a fresh folder of this name, which the ANSI code page need
    // not hold; use WideFile for its files, File spells them with '?'.
    explicit MurvelProcess(const std::wstring& folderName);
    MurvelProcess(const MurvelProcess&) = delete;
    MurvelProcess& operator=(const MurvelProcess&) = delete;
    ~MurvelProcess();

    const std::string& Folder() const { return m_folder; }
    std::string File(const char* name) const { return m_folder + "\\" + name; }
    std::wstring WideFile(const char* name) const;
    // Writes a file beside the program (text given in UTF-8 is converted to
    // the ANSI code page, as the program's own files are).
    bool PutFile(const char* name, const std::string& utf8Text) const;
    // Copies a program into a folder beside the program's files (made when
    // missing, one level at a time), as an installer would put it there;
    // returns the copy's path, empty when it failed.
    std::string PutProgram(const std::string& folder, const std::string& program) const;

    // Starts the program and waits until its main window exists; false when
    // it did not come up within the time.
    bool Start(const std::string& arguments = "");
    // Starts the program and, the moment it has taken its single-instance
    // mutex, another instance with these arguments, while the first is held
    // up for a second and a half before it can publish its window; waits for
    // the main window as Start does and for the other instance to end.
    // Returns the other's exit code, -1 when either failed.
    int StartRacedBy(const std::string& arguments);
    // Starts another instance of the same copy and waits for it to end;
    // returns its exit code, or -1 when it did not end in time.
    int RunAgain(const std::string& arguments, DWORD timeoutMs = 15000) const;
    // Starts another instance as a script would, its standard output and
    // error going to files, and waits for it to end; returns its exit code
    // (-1 when it did not end in time) and what it wrote to each, in UTF-8.
    // For starts that end by themselves: one that stays would hold every
    // handle the test process lets it inherit.
    int RunRedirected(const std::string& arguments, std::string* out, std::string* err,
                      DWORD timeoutMs = 15000) const;
    // Starts another instance that asks a question (the uninstall prompt),
    // answers it with the given button once it shows, and waits for the
    // instance to end; returns its exit code, -1 when no question came.
    int RunAndAnswer(const std::string& arguments, int nButton, const char* utf8Caption = "卸载",
                     DWORD timeoutMs = 20000) const;
    // Runs one watch cycle now instead of waiting for the timer.
    void RunWatchCycle() const;
    // Runs one step of the area blackout countdown (timer 1) now.
    void CountdownTick() const;
    // WM_CLOSE to the main window, then waits for the process to end.
    bool Close(DWORD timeoutMs = 15000);
    bool HasExited() const;
    DWORD ProcessId() const { return m_processId; }

    HWND MainWindow() const { return m_hMain; }
    // The hidden window that receives the notification-area callbacks.
    HWND TrayWindow() const;
    // A top-level window of the program with this title, or null.
    HWND TopWindow(const char* title) const;
    // Whether the shell knows our notification-area icon (a probe that
    // changes nothing).
    bool HasTrayIcon() const;
    // The main window shrunk to the least size it allows; true when every
    // button then stands whole inside it, none over another.
    bool ButtonsWholeAtMinimumSize() const;
    // What the list view measures for the text (UTF-8) in its font.
    int StringWidth(const char* utf8) const;

    std::string Title() const;
    int RowCount() const;
    // Selects and focuses a row as a click would; -1 when none is selected.
    void SelectRow(int row) const;
    int SelectedRow() const;
    // A click of the left button on a row: selects it and gives the list the
    // keyboard focus.
    void ClickRow(int row) const;
    // A key pressed and released in the list view, as the keyboard sends it
    // through the dialog's message loop.
    void PressKey(UINT vk) const;
    std::string CellText(int row, int column) const;
    std::string HeadingText(int column) const;
    int ColumnWidth(int column) const;
    RECT WindowRect() const;
    bool IsVisible() const { return IsWindowVisible(m_hMain) != FALSE; }
    bool IsControlEnabled(int nID) const;
    // State flags of a menu-bar item (MF_GRAYED, MF_CHECKED...), read inside
    // the program's own process where the menu lives.
    UINT MenuState(UINT nID) const;
    // The text of a menu-bar item, read the same way.
    std::string MenuText(UINT nID) const;
    // Title and icon changes of the main window from now on: the first call
    // starts counting and returns 0.
    int ShownChanges() const;
    // Opens the notification-area popup menu as a right click on the icon
    // would, and returns the text of its first item and its default item's
    // position (-1 when none), read as it opened; the menu is closed again.
    bool OpenTrayMenu(std::string* firstItemText, int* defaultPosition) const;
    // Sends a command as a click on a menu item would, and returns once the
    // program has handled it.
    void Command(UINT nID) const;
    // Posts a command that opens a dialog (a sent one would wait for it).
    void PostCommand(UINT nID) const;
    // The program's shown dialog or message box with this title (UTF-8), or
    // null when none appears in time.
    HWND WaitForDialog(const char* utf8Title) const;
    // The dialog's window is gone.
    bool WaitForClosed(HWND hDlg) const;
    // Waits for the message box that hOwner owns, answers it with the button
    // and waits until it has closed; returns its message (UTF-8), empty when
    // no box came.
    std::string AnswerBox(HWND hOwner, int nButton) const;
    // A click on a dialog's button as the dialog manager reports it.
    static void Click(HWND hDlg, int nID);
    // A round trip through the program's message handling. Sent messages
    // overtake posted ones: this does not wait for what was posted before.
    void Sync() const;

private:
    // Copies bytes into and out of the program's memory, for the list-view
    // messages that take pointers.
    class RemoteBuffer;

    // Starts the copy with the arguments in its own folder as the shell
    // would: a child of Wine's shell (explorer.exe, when it runs), without
    // console or standard handles; the caller owns the process handle.
    bool Launch(const std::string& arguments, PROCESS_INFORMATION* pi) const;
    // The program's command line with these arguments.
    std::wstring CommandLine(const std::string& arguments) const;
    std::wstring WideFolder() const;
    // Waits for the started program's main window and its first idle moment.
    bool WaitForMainWindow();
    // Waits for a process that this object started to end; its exit code or -1.
    static int WaitForExit(HANDLE hProcess, DWORD timeoutMs);
    // Hooks the probe library into the program's GUI thread, once.
    bool AttachMenuProbe() const;

    std::unique_ptr<TempDir> m_ownDir;
    std::string m_folder;
    std::wstring m_wideFolder;
    mutable HHOOK m_hProbeHook = nullptr;
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    HWND m_hMain = nullptr;
};

// The program's single-instance mutex.
constexpr const char* kMurvelMutexName = "{5C1E2B90-3D47-4F0A-9B6E-7A2D4C8E1F03}";

// Waits until the predicate holds or the time runs out.
template <typename Predicate> bool WaitFor(Predicate predicate, DWORD timeoutMs = 10000) {
    DWORD start = GetTickCount();
    while (!predicate()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// Makes the window the foreground window and reports the change to WinEvent
// hooks as Windows itself does; Wine 8 sends no EVENT_SYSTEM_FOREGROUND, so
// the test process sends it. False when the window did not come to the front.
bool BringToFront(HWND hWnd);

// UTF-8 to the ANSI code page and back, for comparing the program's texts.
std::string Ansi(const char* utf8);
std::string Utf8(const std::string& ansi);
std::string Utf8FromWide(const std::wstring& wide);
