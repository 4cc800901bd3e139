; The per-user installer of one bitness. It needs no administrator: the
; program, its shortcut, its start with Windows and its uninstall entry all
; live in the user's own profile and registry hive.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=1.3.0.0 -DARCH=x64|x86 -DBIN_DIR=<dir
; with Murvel.exe, TessikDLL.dll> -DGUIDE=<README.txt for Notepad>
; -DICON=<icon> -DOUT_FILE=<setup.exe> Qorvane.nsi
;
; Setup options: /S silent; /D=<folder> (last, unquoted); /AUTORUN starts the
; program with Windows; /RUN starts it when a silent setup ends (a silent
; upgrade starts it again anyway when it had to end it).
; Uninstall.exe /S removes silently and keeps the watch list and settings.

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
; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
!define PROCESS_WAIT_AND_QUERY 0x00101000
; The running program saves its two files on its way out.
!define CLOSE_WAIT_MS 15000

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"

Var WasRunning ; 1 when setup ended a running instance

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Murvel.exe"

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
LangString StillRunning ${LANG_ENGLISH} "Qorvane is still running, perhaps with one of its windows open.$\r$\nClose it, then choose Retry."
LangString StillRunning ${LANG_SIMPCHINESE} "Qorvane 仍在运行，可能还开着它的某个窗口。$\r$\n请关闭它，然后选“重试”。"
; The program's own uninstall question.
LangString DeleteConfig ${LANG_ENGLISH} "Delete the configuration files?$\r$\n(If you choose No they are kept, and when you next install Qorvane into the same folder, all settings used this time are kept.)"
LangString DeleteConfig ${LANG_SIMPCHINESE} "是否删除配置文件？$\r$\n（如果选“否”则不删除，并且若下次您再将Qorvane安装到相同文件夹下，这次使用的所有配置将会被保留。）"

; Ends the Qorvane that runs from $INSTDIR and waits until it has saved its
; files and gone. Its main window is found as the dialog with a menu bar
; (its own dialogs and message boxes have none) in a process whose image is
; $INSTDIR\Murvel.exe, and asked to close, as "Murvel.exe /UNINSTALL" asks
; it; a copy running from another folder is left alone. $R9 is 1 when one
; ended, 0 when none ran, -1 when it did not end in time (a dialog of its own
; is open). Interactive runs offer to retry.
!macro CLOSE_RUNNING un
Function ${un}CloseRunning
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
retry:
  StrCpy $R9 0
  StrCpy $0 0
next_window:
  FindWindow $0 "#32770" "" "" $0
  IntPtrCmp $0 0 done
  System::Call 'user32::GetMenu(p r0) p .r1'
  IntPtrCmp $1 0 next_window
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2)'
  System::Call 'kernel32::OpenProcess(i ${PROCESS_WAIT_AND_QUERY}, i 0, i r2) p .r3'
  IntPtrCmp $3 0 next_window
  System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i ${NSIS_MAX_STRLEN})'
  ${If} $4 != "$INSTDIR\Murvel.exe"
    System::Call 'kernel32::CloseHandle(p r3)'
    Goto next_window
  ${EndIf}
  SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=${CLOSE_WAIT_MS}
  System::Call 'kernel32::WaitForSingleObject(p r3, i ${CLOSE_WAIT_MS}) i .r1'
  System::Call 'kernel32::CloseHandle(p r3)'
  ${If} $1 = 0
    StrCpy $R9 1
  ${Else}
    StrCpy $R9 -1
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY retry
  ${EndIf}
done:
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

; Deletes the user's Run value when it starts this copy (quoted, as the
; program writes it, or bare, as older versions did); one that starts a copy
; elsewhere is not ours to remove.
!macro DELETE_OWN_RUN_VALUE
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\Murvel.exe"'
  ${OrIf} $0 == "$INSTDIR\Murvel.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
!macroend

Section "$(SecProgramName)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  Call CloseRunning
  ${If} $R9 < 0
    Abort
  ${EndIf}
  StrCpy $WasRunning $R9
  ; Tessik.dat and Tessik.ini, the user's list and settings, are not touched.
  File "${BIN_DIR}/Murvel.exe"
  File "${BIN_DIR}/TessikDLL.dll"
  File "/oname=README.txt" "${GUIDE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\Murvel.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Murvel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "$(SecAutoRunName)" SecAutoRun
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Murvel.exe"'
SectionEnd

Section "-Without start with Windows"
  ${IfNot} ${SectionIsSelected} ${SecAutoRun}
    !insertmacro DELETE_OWN_RUN_VALUE
  ${EndIf}
SectionEnd

Function .onInit
  StrCpy $WasRunning 0
  ; An upgrade keeps the user's choice; /AUTORUN chooses it silently.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTORUN" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutoRun}
  ${EndIf}
  ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $1 == '"$INSTDIR\Murvel.exe"'
  ${OrIf} $1 == "$INSTDIR\Murvel.exe"
    !insertmacro SelectSection ${SecAutoRun}
  ${EndIf}
FunctionEnd

; The finish page offers to start the program; a silent setup starts it when
; asked to, or when it ended the one that ran.
Function .onInstSuccess
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/RUN" $1
    ${IfNot} ${Errors}
    ${OrIf} $WasRunning = 1
      Exec '"$INSTDIR\Murvel.exe"'
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunning
  ${If} $R9 < 0
    Abort
  ${EndIf}
  Delete "$INSTDIR\Murvel.exe"
  Delete "$INSTDIR\TessikDLL.dll"
  Delete "$INSTDIR\README.txt"
  Delete "${SHORTCUT}"
  !insertmacro DELETE_OWN_RUN_VALUE
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(DeleteConfig)" /SD IDNO IDNO keep_config
    Delete "$INSTDIR\Tessik.ini"
    Delete "$INSTDIR\Tessik.dat"
keep_config:
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: kept settings stay for the next installation.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
