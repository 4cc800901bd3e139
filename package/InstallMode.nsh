; For whom setup installs: the current user alone, or, run as administrator,
; all users of the computer. Included by Qorvane.nsi after its sections, whose
; variables and the section SecAutoRun this uses.

!include nsDialogs.nsh

LangString SecAutoRunAllName ${LANG_ENGLISH} "Start with Windows for every user"
LangString SecAutoRunAllName ${LANG_SIMPCHINESE} "每个用户启动Windows时自动运行"
LangString ModeTitle ${LANG_ENGLISH} "Choose users"
LangString ModeTitle ${LANG_SIMPCHINESE} "选择用户"
LangString ModeSubtitle ${LANG_ENGLISH} "Choose for whom to install Qorvane."
LangString ModeSubtitle ${LANG_SIMPCHINESE} "选择为谁安装 Qorvane。"
LangString ModeForMe ${LANG_ENGLISH} "For me only (no administrator rights needed)"
LangString ModeForMe ${LANG_SIMPCHINESE} "仅为我安装（不需要管理员权限）"
LangString ModeForAll ${LANG_ENGLISH} "For all users of this computer (each user keeps their own watch list and settings)"
LangString ModeForAll ${LANG_SIMPCHINESE} "为这台电脑的所有用户安装（每个用户有自己的监视列表和设置）"
LangString ModeNeedsAdmin ${LANG_ENGLISH} "To install for all users, close setup and start it again with $\"Run as administrator$\"."
LangString ModeNeedsAdmin ${LANG_SIMPCHINESE} "要为所有用户安装，请关闭安装程序，然后用“以管理员身份运行”重新启动它。"

; $IsAdmin: 1 when the process runs elevated (or, without UAC, as an
; administrator): UserInfo tells "Admin" only for a token in which the
; Administrators group counts, which a filtered token's does not.
!macro CHECK_ADMIN un
Function ${un}CheckAdmin
  Push $0
  StrCpy $IsAdmin 0
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $IsAdmin 1
  ${EndIf}
  Pop $0
FunctionEnd
!macroend
!insertmacro CHECK_ADMIN ""
!insertmacro CHECK_ADMIN "un."

; Sets up the mode $AllUsers names: the shell folders and SHCTX of the user
; or of all users, the folder (the one /D= named, else where this mode
; installed before, else its default) and the start with Windows (an upgrade
; keeps the choice; /AUTORUN chooses it silently).
Function ApplyInstallMode
  Push $0
  Push $1
  ${If} $AllUsers = 1
    SetShellVarContext all
    SectionSetText ${SecAutoRun} "$(SecAutoRunAllName)"
  ${Else}
    SetShellVarContext current
    SectionSetText ${SecAutoRun} "$(SecAutoRunName)"
  ${EndIf}
  StrCpy $INSTDIR $GivenDir
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR != ""
  ${ElseIf} $AllUsers = 1
    StrCpy $INSTDIR "${PROGRAM_FILES}\${PRODUCT}"
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
  !insertmacro UnselectSection ${SecAutoRun}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTORUN" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutoRun}
  ${EndIf}
  ReadRegStr $1 SHCTX "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $1 == '"$INSTDIR\Murvel.exe"'
  ${OrIf} $1 == "$INSTDIR\Murvel.exe"
    !insertmacro SelectSection ${SecAutoRun}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; The first page: for whom. Installing for all users needs an elevated
; setup; for anyone else the choice shows, disabled, with the way to it.
Function InstallModePage
  !insertmacro MUI_HEADER_TEXT "$(ModeTitle)" "$(ModeSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0 100% 12u "$(ModeForMe)"
  Pop $ForMeRadio
  ${NSD_CreateRadioButton} 0 18u 100% 24u "$(ModeForAll)"
  Pop $ForAllRadio
  ${If} $IsAdmin <> 1
    EnableWindow $ForAllRadio 0
    ${NSD_CreateLabel} 12u 46u -12u 24u "$(ModeNeedsAdmin)"
    Pop $0
  ${EndIf}
  ${If} $AllUsers = 1
    ${NSD_Check} $ForAllRadio
  ${Else}
    ${NSD_Check} $ForMeRadio
  ${EndIf}
  nsDialogs::Show
FunctionEnd

; A folder typed on the next page stays while the mode does.
Function InstallModePageLeave
  ${NSD_GetState} $ForAllRadio $0
  ${If} $0 = ${BST_CHECKED}
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  ${If} $0 <> $AllUsers
    StrCpy $AllUsers $0
    Call ApplyInstallMode
  ${EndIf}
FunctionEnd
