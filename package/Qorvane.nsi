; The installer of one bitness. By default it installs for the current user
; and needs no administrator: the program, its shortcut, its start with
; Windows and its uninstall entry all live in the user's own profile and
; registry hive. Run as administrator, it can install for all users of the
; computer instead (/ALLUSERS, or the choice on its first page): into Program
; Files of its bitness, with the shortcut, the start with Windows and the
; uninstall entry of the machine (HKLM; the 32-bit view for the x86 setup),
; and the mark AllUsers.mark beside the program, which makes the program keep
; each user's list and settings in that user's %APPDATA%\Qorvane. Each mode
; finds its earlier installation only in its own hive, so the two never
; install over each other.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=1.3.0.0 -DARCH=x64|x86 -DBIN_DIR=<dir
; with Murvel.exe, TessikDLL.dll> -DGUIDE=<README.txt for Notepad>
; -DICON=<icon> -DOUT_FILE=<setup.exe> Qorvane.nsi
;
; Setup options: /S silent; /ALLUSERS for all users (administrator only);
; /D=<folder> (last, unquoted); /AUTORUN starts the program with Windows;
; /RUN starts it when a silent setup ends (a silent upgrade starts it again
; anyway when it had to end it). Setup ends with code 0 when every file of
; the new version is in place, 2 (after saying why) when it changed nothing,
; and 740 (ERROR_ELEVATION_REQUIRED, after saying why) when /ALLUSERS was
; given without administrator rights.
; Uninstall.exe /S removes silently and keeps the watch list and settings.
; The uninstaller of an installation for all users needs an administrator:
; started without (as Settings starts it), it asks the system to start it
; elevated, or, silent, ends with code 740.
;
; The hook library stays mapped in other programs until they next take a
; message, and Wine's explorer keeps it for good: a file in use is renamed
; aside (the new one written first beside it), and what is left is deleted by
; the program's next start, or at the next restart where setup may ask for
; that.

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!endif

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define PRODUCT "Qorvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The same value the program's own menu item writes.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Velatrix"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; Beside the program of an installation for all users, and nowhere else.
!define MARK "AllUsers.mark"
!if "${ARCH}" == "x64"
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  !define PROGRAM_FILES "$PROGRAMFILES32"
!endif
!define ERROR_ELEVATION_REQUIRED 740
; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
!define PROCESS_WAIT_AND_QUERY 0x00101000
!define PROCESS_QUERY_LIMITED_INFORMATION 0x00001000
; The program's single-instance mutex, and the rights a start of the program
; asks of it.
!define MUTEX "{5C1E2B90-3D47-4F0A-9B6E-7A2D4C8E1F03}"
!define MUTEX_ALL_ACCESS 0x001F0001
!define ERROR_ACCESS_DENIED 5
; The running program saves its two files on its way out.
!define CLOSE_WAIT_MS 15000

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
; An administrator who wants the installation for all users starts setup
; with "Run as administrator"; everyone else needs no prompt. The folder
; comes from .onInit: InstallDir and InstallDirRegKey would read one hive
; for both modes.
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"

Var WasRunning ; 1 when setup ended a running instance, or asked one to end
Var Closing    ; the process of one that did not end in time, or 0
Var Stamp      ; the number in the names this run sets files aside under
Var AllUsers   ; 1 when this run installs or removes the copy for all users
Var IsAdmin    ; 1 when this process may write the machine's folders and keys
Var GivenDir   ; the folder /D= named, or empty
Var ForMeRadio ; the install-mode page's two choices
Var ForAllRadio

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

Page custom InstallModePage InstallModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first is the fallback; setup and uninstall speak the user's interface
; language when it is one of these.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PRODUCT}"

LangString SecProgramName ${LANG_ENGLISH} "Qorvane"
LangString SecProgramName ${LANG_SIMPCHINESE} "Qorvane"
LangString SecAutoRunName ${LANG_ENGLISH} "Start with Windows"
LangString SecAutoRunName ${LANG_SIMPCHINESE} "启动Windows时自动运行"
LangString NeedsAdmin ${LANG_ENGLISH} "Setup for all users (/ALLUSERS) needs administrator rights, and nothing was changed.$\r$\nStart setup with $\"Run as administrator$\", or without /ALLUSERS to install for yourself only."
LangString NeedsAdmin ${LANG_SIMPCHINESE} "为所有用户安装（/ALLUSERS）需要管理员权限，没有做任何更改。$\r$\n请用“以管理员身份运行”启动安装程序，或者不带 /ALLUSERS 只为自己安装。"
LangString UnNeedsAdmin ${LANG_ENGLISH} "Qorvane was installed for all users of this computer: only an administrator can uninstall it, and nothing was changed."
LangString UnNeedsAdmin ${LANG_SIMPCHINESE} "Qorvane 是为这台电脑的所有用户安装的：只有管理员才能卸载它，没有做任何更改。"
LangString FolderForAllUsers ${LANG_ENGLISH} "$INSTDIR$\r$\nholds Qorvane installed for all users of this computer, and nothing was changed.$\r$\nTo install for yourself only, choose another folder; to upgrade that installation, start setup as administrator with /ALLUSERS."
LangString FolderForAllUsers ${LANG_SIMPCHINESE} "$INSTDIR$\r$\n中是为这台电脑的所有用户安装的 Qorvane，没有做任何更改。$\r$\n要只为自己安装，请选择另一个文件夹；要升级那个安装，请以管理员身份带 /ALLUSERS 启动安装程序。"
LangString FolderForOneUser ${LANG_ENGLISH} "$INSTDIR$\r$\nholds a Qorvane of one user (installed for that user, or unpacked there), and nothing was changed.$\r$\nTo install for all users, choose another folder."
LangString FolderForOneUser ${LANG_SIMPCHINESE} "$INSTDIR$\r$\n中是某个用户的 Qorvane（只为该用户安装，或者解压在那里），没有做任何更改。$\r$\n要为所有用户安装，请选择另一个文件夹。"
LangString StillRunning ${LANG_ENGLISH} "Qorvane is still running, perhaps with one of its windows open.$\r$\nClose it, then choose Retry."
LangString StillRunning ${LANG_SIMPCHINESE} "Qorvane 仍在运行，可能还开着它的某个窗口。$\r$\n请关闭它，然后选“重试”。"
LangString RunningAsAdmin ${LANG_ENGLISH} "Qorvane is running as administrator, and cannot be closed from here.$\r$\nExit it from its notification-area icon, then choose Retry."
LangString RunningAsAdmin ${LANG_SIMPCHINESE} "Qorvane 正以管理员身份运行，无法从这里关闭它。$\r$\n请在它的通知区域图标的菜单中选“退出”，然后选“重试”。"
LangString NotReplaced ${LANG_ENGLISH} "Setup could not put the new files of Qorvane into$\r$\n$INSTDIR$\r$\nNothing was changed: the installed version is complete as it was. Close the programs that may use these files, then run setup again."
LangString NotReplaced ${LANG_SIMPCHINESE} "安装程序无法把 Qorvane 的新文件放入$\r$\n$INSTDIR$\r$\n没有做任何更改：已安装的版本仍然完整。请关闭可能正在使用这些文件的程序，然后重新运行安装程序。"
; The program's own uninstall question.
LangString DeleteConfig ${LANG_ENGLISH} "Delete the watch list and the settings (the configuration files)?$\r$\n(If you choose No they are kept, and when you next install Qorvane into the same folder, the watch list and the settings used this time are kept.)"
LangString DeleteConfig ${LANG_SIMPCHINESE} "是否删除监视列表和设置（配置文件）？$\r$\n（如果选“否”则不删除，并且若下次您再将Qorvane安装到相同文件夹下，这次使用的监视列表和设置将会被保留。）"

; Ends the Qorvane that runs from $INSTDIR and waits until it has saved its
; files and gone. Its main window is found as the dialog with a menu bar
; (its own dialogs and message boxes have none) in a process whose image is
; $INSTDIR\Murvel.exe, and asked to close, as "Murvel.exe /UNINSTALL" asks
; it; a copy running from another folder is left alone. $R9 is 1 when one
; ended, 0 when none ran, -1 when it did not end in time (a dialog of its own
; is open; $Closing keeps its process), -2 when one runs that setup cannot
; close. Interactive runs offer to retry.
;
; An instance started as administrator keeps a standard user from opening
; its process, and its window takes no message from such a user: it could be
; neither asked to end nor waited for, and the files must not change under
; it. Its single-instance mutex tells of it, window or not: this user cannot
; open it as a start of the program does. Only a main window whose image
; path can still be read shows such a copy to run from another folder.
!macro CLOSE_RUNNING un
Function ${un}CloseRunning
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
retry:
  StrCpy $R9 0
  StrCpy $5 0 ; 1 when one beyond reach runs from another folder
  StrCpy $6 0 ; the main window of ours
  StrCpy $7 0 ; and its process
  StrCpy $0 0
next_window:
  FindWindow $0 "#32770" "" "" $0
  IntPtrCmp $0 0 scanned
  System::Call 'user32::GetMenu(p r0) p .r1'
  IntPtrCmp $1 0 next_window
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2)'
  System::Call 'kernel32::OpenProcess(i ${PROCESS_WAIT_AND_QUERY}, i 0, i r2) p .r3'
  IntPtrCmp $3 0 beyond_reach
  System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i ${NSIS_MAX_STRLEN})'
  ${If} $4 == "$INSTDIR\Murvel.exe"
  ${AndIf} $6 P= 0
    StrCpy $6 $0
    StrCpy $7 $3
  ${Else}
    System::Call 'kernel32::CloseHandle(p r3)'
  ${EndIf}
  Goto next_window
beyond_reach:
  System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r2) p .r3'
  IntPtrCmp $3 0 next_window
  StrCpy $4 ""
  System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i ${NSIS_MAX_STRLEN})'
  System::Call 'kernel32::CloseHandle(p r3)'
  StrCpy $1 $4 "" -11
  ${If} $1 == "\Murvel.exe"
  ${AndIf} $4 != "$INSTDIR\Murvel.exe"
    StrCpy $5 1
  ${EndIf}
  Goto next_window
scanned:
  System::Call 'kernel32::OpenMutexW(i ${MUTEX_ALL_ACCESS}, i 0, w "${MUTEX}") p .r1 ?e'
  Pop $2
  ${If} $1 P<> 0
    System::Call 'kernel32::CloseHandle(p r1)'
  ${ElseIf} $2 = ${ERROR_ACCESS_DENIED}
  ${AndIf} $5 = 0
    ${If} $7 P<> 0
      System::Call 'kernel32::CloseHandle(p r7)'
    ${EndIf}
    StrCpy $R9 -2
    MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$(RunningAsAdmin)" /SD IDCANCEL IDRETRY retry
    Goto done
  ${EndIf}
  IntPtrCmp $6 0 done
  SendMessage $6 ${WM_CLOSE} 0 0 /TIMEOUT=${CLOSE_WAIT_MS}
  System::Call 'kernel32::WaitForSingleObject(p r7, i ${CLOSE_WAIT_MS}) i .r1'
  ${If} $1 = 0
    System::Call 'kernel32::CloseHandle(p r7)'
    StrCpy $R9 1
  ${Else}
    ${If} $Closing P<> 0
      System::Call 'kernel32::CloseHandle(p $Closing)'
    ${EndIf}
    StrCpy $Closing $7
    StrCpy $R9 -1
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY retry
  ${EndIf}
done:
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

; Programs that took a message through the hooks keep the library mapped until
; they take the next one: a posted WM_NULL makes each let go (a sent one would
; wait on every hung window).
!macro LET_GO_OF_LIBRARY
  System::Call 'user32::PostMessageW(p 0xffff, i 0, p 0, p 0)'
!macroend

; A number for the names this run sets files aside under, used by none yet.
!macro NEW_STAMP folder
  System::Call 'kernel32::GetTickCount() i .s'
  Pop $Stamp
  ${DoWhile} ${FileExists} "${folder}\*.$Stamp.old"
    IntOp $Stamp $Stamp + 1
  ${Loop}
!macroend

; Asks the system to delete a file (or an empty folder) at the next restart.
; Only an administrator may: for anyone else it changes nothing.
!macro DELETE_AT_RESTART path
  Push $R2
  StrCpy $R2 "${path}"
  System::Call 'kernel32::MoveFileExW(w R2, p 0, i 4)'
  Pop $R2
!macroend

; Deletes the Run value of the hive (SHCTX: the user's, or the machine's for
; all users) when it starts this copy (quoted, as the program writes it, or
; bare, as older versions did); one that starts a copy elsewhere is not ours
; to remove.
!macro DELETE_OWN_RUN_VALUE root
  ReadRegStr $0 ${root} "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\Murvel.exe"'
  ${OrIf} $0 == "$INSTDIR\Murvel.exe"
    DeleteRegValue ${root} "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
!macroend

; $R0: a program file's name. Sets the installed one aside and puts the staged
; one (written as $R0.new) in its place; the error flag tells of a failure.
Function SwapIn
  ${If} ${FileExists} "$INSTDIR\$R0"
    Rename "$INSTDIR\$R0" "$INSTDIR\$R0.$Stamp.old"
  ${EndIf}
  Rename "$INSTDIR\$R0.new" "$INSTDIR\$R0"
FunctionEnd

; $R0: undoes SwapIn as far as it went.
Function SwapBack
  ${If} ${FileExists} "$INSTDIR\$R0.$Stamp.old"
    Delete "$INSTDIR\$R0"
    Rename "$INSTDIR\$R0.$Stamp.old" "$INSTDIR\$R0"
  ${ElseIfNot} ${FileExists} "$INSTDIR\$R0.new"
    ; There was none before.
    Delete "$INSTDIR\$R0"
  ${EndIf}
  Delete "$INSTDIR\$R0.new"
FunctionEnd

; $R0: deletes what SwapIn set aside; a file still in use goes later.
Function RemoveAside
  ${If} ${FileExists} "$INSTDIR\$R0.$Stamp.old"
    Delete "$INSTDIR\$R0.$Stamp.old"
    ${If} ${FileExists} "$INSTDIR\$R0.$Stamp.old"
      !insertmacro DELETE_AT_RESTART "$INSTDIR\$R0.$Stamp.old"
    ${EndIf}
  ${EndIf}
FunctionEnd

!macro FOR_EACH_PROGRAM_FILE function
  StrCpy $R0 "Murvel.exe"
  Call ${function}
  StrCpy $R0 "TessikDLL.dll"
  Call ${function}
  StrCpy $R0 "README.txt"
  Call ${function}
!macroend

Section "$(SecProgramName)" SecProgram
  SectionIn RO
  ; Files and entries of one mode in the other's folder would belong to
  ; neither: each uninstaller would remove the other's program. A program
  ; without the mark is one user's (installed, or an unpacked copy).
  ${If} $AllUsers = 0
  ${AndIf} ${FileExists} "$INSTDIR\${MARK}"
    MessageBox MB_OK|MB_ICONSTOP "$(FolderForAllUsers)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${ElseIf} $AllUsers = 1
  ${AndIf} ${FileExists} "$INSTDIR\Murvel.exe"
  ${AndIfNot} ${FileExists} "$INSTDIR\${MARK}"
    MessageBox MB_OK|MB_ICONSTOP "$(FolderForOneUser)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  SetOutPath "$INSTDIR"
  Call CloseRunning
  ; One that did not end in time was asked to, and mostly does a little
  ; later (a message box of its own was answered): .onInstFailed gives it
  ; back. One setup cannot close runs on untouched.
  ${If} $R9 = 1
  ${OrIf} $R9 = -1
    StrCpy $WasRunning 1
  ${EndIf}
  ${If} $R9 < 0
    Abort
  ${EndIf}
  !insertmacro LET_GO_OF_LIBRARY
  !insertmacro NEW_STAMP "$INSTDIR"

  ; The new version is written beside the old one first: a folder that does
  ; not take all of it keeps the old one whole.
  Delete "$INSTDIR\Murvel.exe.new"
  Delete "$INSTDIR\TessikDLL.dll.new"
  Delete "$INSTDIR\README.txt.new"
  ClearErrors
  ${If} ${FileExists} "$INSTDIR\Murvel.exe.new"
  ${OrIf} ${FileExists} "$INSTDIR\TessikDLL.dll.new"
  ${OrIf} ${FileExists} "$INSTDIR\README.txt.new"
    SetErrors
  ${EndIf}
  SetOverwrite try
  File "/oname=Murvel.exe.new" "${BIN_DIR}/Murvel.exe"
  File "/oname=TessikDLL.dll.new" "${BIN_DIR}/TessikDLL.dll"
  File "/oname=README.txt.new" "${GUIDE}"
  SetOverwrite on
  ${If} $AllUsers = 1
  ${AndIfNot} ${FileExists} "$INSTDIR\${MARK}"
    ; Before the program can start from here: without it, its first start
    ; would keep its files beside it, for every user.
    FileOpen $0 "$INSTDIR\${MARK}" w
    FileWrite $0 "Qorvane is installed here for all users of this computer: each user's watch list and settings are kept in that user's %APPDATA%\${PRODUCT}.$\r$\n"
    FileClose $0
    ${IfNot} ${FileExists} "$INSTDIR\${MARK}"
      SetErrors
    ${EndIf}
  ${EndIf}
  ${If} ${Errors}
  ${OrIfNot} ${FileExists} "$INSTDIR\Murvel.exe.new"
  ${OrIfNot} ${FileExists} "$INSTDIR\TessikDLL.dll.new"
  ${OrIfNot} ${FileExists} "$INSTDIR\README.txt.new"
    Delete "$INSTDIR\Murvel.exe.new"
    Delete "$INSTDIR\TessikDLL.dll.new"
    Delete "$INSTDIR\README.txt.new"
    Goto not_replaced
  ${EndIf}

  ; Renaming works on a file in use, which writing over it does not.
  ClearErrors
  !insertmacro FOR_EACH_PROGRAM_FILE SwapIn
  ${If} ${Errors}
    !insertmacro FOR_EACH_PROGRAM_FILE SwapBack
    Goto not_replaced
  ${EndIf}
  !insertmacro FOR_EACH_PROGRAM_FILE RemoveAside

  ; Tessik.dat and Tessik.ini, the user's list and settings, are not touched.
  ; SHCTX and $SMPROGRAMS are the user's, or the machine's for all users.
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\Murvel.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Murvel.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  Return

not_replaced:
  MessageBox MB_OK|MB_ICONSTOP "$(NotReplaced)" /SD IDOK
  SetErrorLevel 2
  Abort
SectionEnd

Section /o "$(SecAutoRunName)" SecAutoRun
  WriteRegStr SHCTX "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Murvel.exe"'
SectionEnd

Section "-Without start with Windows"
  ${IfNot} ${SectionIsSelected} ${SecAutoRun}
    !insertmacro DELETE_OWN_RUN_VALUE SHCTX
  ${EndIf}
SectionEnd

!include "InstallMode.nsh"

Function .onInit
  StrCpy $WasRunning 0
  StrCpy $Closing 0
  ; Only /D= has set it yet.
  StrCpy $GivenDir $INSTDIR
  StrCpy $AllUsers 0
  Call CheckAdmin
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    ${If} $IsAdmin <> 1
      MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  Call ApplyInstallMode
FunctionEnd

; Starts the program with the user's own token, as the shell would. A setup
; run as administrator must not pass that right on to a program that maps a
; library from a folder the user can write into every window it hooks: the
; shell's explorer, asked to open the program, starts it as the signed-in user.
!macro START_PROGRAM un
Function ${un}StartProgram
  Push $0
  System::Call 'shell32::IsUserAnAdmin() i .r0'
  ${If} $0 <> 0
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\Murvel.exe"'
  ${Else}
    Exec '"$INSTDIR\Murvel.exe"'
  ${EndIf}
  Pop $0
FunctionEnd
!macroend
!insertmacro START_PROGRAM ""
!insertmacro START_PROGRAM "un."

; The finish page offers to start the program; a silent setup starts it when
; asked to, or when it ended the one that ran.
Function .onInstSuccess
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/RUN" $1
    ${IfNot} ${Errors}
    ${OrIf} $WasRunning = 1
      Call StartProgram
    ${EndIf}
  ${EndIf}
FunctionEnd

; A run that changed nothing gives back the program it asked to end: the
; installed version is whole. A start while the one asked to end is still on
; its way out would only hand over to it and leave none running; one that
; still runs after a second wait runs, and needs no start.
!macro GIVE_BACK un
Function ${un}GiveBack
  Push $0
  ${If} $WasRunning = 1
  ${AndIf} ${FileExists} "$INSTDIR\Murvel.exe"
    StrCpy $0 0
    ${If} $Closing P<> 0
      System::Call 'kernel32::WaitForSingleObject(p $Closing, i ${CLOSE_WAIT_MS}) i .r0'
      System::Call 'kernel32::CloseHandle(p $Closing)'
      StrCpy $Closing 0
    ${EndIf}
    ${If} $0 = 0
      Call ${un}StartProgram
    ${EndIf}
  ${EndIf}
  Pop $0
FunctionEnd
!macroend
!insertmacro GIVE_BACK ""
!insertmacro GIVE_BACK "un."

Function .onInstFailed
  Call GiveBack
FunctionEnd

; The mark tells an installation for all users, whose entries are the
; machine's: started without elevation (Settings starts it so, as the
; manifest asks for none), the uninstaller asks the system to start it again
; elevated, which asks the user for an administrator.
Function un.onInit
  StrCpy $WasRunning 0
  StrCpy $Closing 0
  StrCpy $AllUsers 0
  ${If} ${FileExists} "$INSTDIR\${MARK}"
    StrCpy $AllUsers 1
    Call un.CheckAdmin
    ${If} $IsAdmin <> 1
      ${IfNot} ${Silent}
        ClearErrors
        ExecShell "runas" '"$EXEPATH"' "_?=$INSTDIR"
        ${IfNot} ${Errors}
          Quit
        ${EndIf}
      ${EndIf}
      MessageBox MB_OK|MB_ICONSTOP "$(UnNeedsAdmin)" /SD IDOK
      SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    SetShellVarContext all
  ${EndIf}
FunctionEnd

; An uninstall stopped while the program was on its way out leaves it
; installed: it runs again, as after a setup that changed nothing.
Function un.onUninstFailed
  Call un.GiveBack
FunctionEnd

; $R0: a file of the program in $INSTDIR. One still mapped by programs that
; ran the hooks cannot be deleted yet: it moves to the temporary folder, so
; that the program's folder goes now, and is deleted at the next restart where
; the system lets setup ask for that (else with the temporary files).
Function un.RemoveProgramFile
  Delete "$INSTDIR\$R0"
  ${IfNot} ${FileExists} "$INSTDIR\$R0"
    Return
  ${EndIf}
  ClearErrors
  Rename "$INSTDIR\$R0" "$TEMP\Qorvane-$R0.$Stamp.old"
  ${If} ${Errors}
    ; The temporary folder is on another drive.
    !insertmacro DELETE_AT_RESTART "$INSTDIR\$R0"
    !insertmacro DELETE_AT_RESTART "$INSTDIR"
  ${Else}
    !insertmacro DELETE_AT_RESTART "$TEMP\Qorvane-$R0.$Stamp.old"
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunning
  ${If} $R9 = -1
    StrCpy $WasRunning 1
  ${EndIf}
  ${If} $R9 < 0
    Abort
  ${EndIf}
  !insertmacro LET_GO_OF_LIBRARY
  !insertmacro NEW_STAMP "$TEMP"
  StrCpy $R0 "Murvel.exe"
  Call un.RemoveProgramFile
  StrCpy $R0 "TessikDLL.dll"
  Call un.RemoveProgramFile
  ; What upgrades set aside and nothing has deleted since.
  FindFirst $0 $1 "$INSTDIR\*.old"
  ${DoWhile} $1 != ""
    StrCpy $2 $1 11
    StrCpy $3 $1 14
    ${If} $2 == "Murvel.exe."
    ${OrIf} $3 == "TessikDLL.dll."
      StrCpy $R0 $1
      Call un.RemoveProgramFile
    ${EndIf}
    FindNext $0 $1
  ${Loop}
  FindClose $0
  Delete "$INSTDIR\README.txt"
  Delete "${SHORTCUT}"
  !insertmacro DELETE_OWN_RUN_VALUE SHCTX
  ${If} $AllUsers = 1
    ; What this administrator's own menu wrote; other users' values start
    ; nothing once the program is gone.
    !insertmacro DELETE_OWN_RUN_VALUE HKCU
    ; Each user's list and settings are in that user's profile, out of
    ; reach here and no one else's to delete.
    Delete "$INSTDIR\${MARK}"
    Goto keep_config
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(DeleteConfig)" /SD IDNO IDNO keep_config
    Delete "$INSTDIR\Tessik.ini"
    Delete "$INSTDIR\Tessik.dat"
    ; Where the program keeps them when its own folder cannot be written.
    Delete "$APPDATA\${PRODUCT}\Tessik.ini"
    Delete "$APPDATA\${PRODUCT}\Tessik.dat"
    RMDir "$APPDATA\${PRODUCT}"
keep_config:
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: kept settings stay for the next installation.
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
