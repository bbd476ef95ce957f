; The Windows installer of Orvane. Built by scripts/package.sh:
;   makensis -DVERSION=1.04 -DSOURCE=<folder with the files> -DOUTFILE=<setup.exe> orvane.nsi
; Installs either for every user of the machine (administrator rights, Program Files,
; registrations under HKLM) or for the current user only (no administrator rights,
; %LOCALAPPDATA%\Programs, registrations under HKCU), with a Start-menu entry, an Apps &
; features entry, Orvane among the programs of "Open with" for the file types of its open
; dialog and, as a component on by default, "Edit with Orvane" in the context menu of every
; file. It takes no default file association. The uninstaller removes exactly what was added.
; Silently: /S, with /AllUsers (the default) or /CurrentUser, and /D=FOLDER last. An upgrade
; finds the earlier install's mode and folder.
; The user's data folder (%APPDATA%\Orvane) belongs to the user: no step touches it.
; Orvane is a 64-bit program: so is its installer.
Target amd64-unicode
SetCompressor zlib
!include "x64.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"
!include "Sections.nsh"

Name "Orvane ${VERSION}"
Caption "Orvane ${VERSION} Setup"
OutFile "${OUTFILE}"
; No InstallDir: the folder follows the mode (ApplyMode), unless /D= names one.
; Administrators get the prompt for their rights; everyone else runs without them and can
; install for themselves.
RequestExecutionLevel highest
BrandingText "Orvane ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Orvane"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Orvane ${VERSION} Setup"
VIAddVersionKey "CompanyName" "The Orvane developers"
VIAddVersionKey "LegalCopyright" "MIT License"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"
; "Open with": Orvane as an application, with the types it edits.
!define APPLICATION_KEY "Software\Classes\Applications\orvane.exe"
; "Edit with Orvane" on every file.
!define EDIT_WITH_KEY "Software\Classes\*\shell\EditWithOrvane"
!define OPEN_COMMAND '"$INSTDIR\orvane.exe" "%1"'
; ERROR_ELEVATION_REQUIRED: a silent install for all users run without administrator rights.
!define EXIT_NEEDS_ADMINISTRATOR 740

Var AllUsers       ; 1: for all users (HKLM, Program Files); 0: for the current user only
                   ; (the uninstaller sets it from the install it belongs to)
Var IsAdministrator
Var FolderGiven    ; 1 when /D= named the folder
Var AllUsersChoice
Var CurrentUserChoice
; Which keys and folder above Orvane's own entries an install created (they did not exist
; before it, or before the earlier install it upgrades): the uninstaller removes those, and
; only those, when nothing else is left in them. Kept in the Apps & features entry.
Var Created
!define CREATED_VALUE "CreatedParents"
!define CREATED_UNINSTALL_LIST 1
!define CREATED_APPLICATIONS 2
!define CREATED_ALL_FILES 4
!define CREATED_ALL_FILES_SHELL 8
!define CREATED_PROGRAMS_FOLDER 16
!define CREATED_CLASSES 32

Page license
Page custom ModePage ModePageLeave
Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles
LicenseData "${SOURCE}\license.txt"

; The shell folders and SHCTX (HKLM or HKCU) of the mode, and its folder: the one an earlier
; install of that mode used, else the mode's default.
Function ApplyMode
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} $FolderGiven == 1
    Return
  ${EndIf}
  ${If} $AllUsers == 1
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
      StrCpy $0 "$PROGRAMFILES64\Orvane"
    ${EndIf}
  ${Else}
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
      StrCpy $0 "$LOCALAPPDATA\Programs\Orvane"
    ${EndIf}
  ${EndIf}
  StrCpy $INSTDIR $0
FunctionEnd

Function .onInit
  SetRegView 64
  UserInfo::GetAccountType
  Pop $0
  StrCpy $IsAdministrator 0
  ${If} $0 == "Admin"
    StrCpy $IsAdministrator 1
  ${EndIf}
  StrCpy $FolderGiven 0
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${EndIf}

  ; An upgrade keeps the earlier install's mode; a switch names one; all users otherwise.
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  StrCpy $AllUsers 1
  ${If} $1 == ""
  ${AndIf} $2 != ""
    StrCpy $AllUsers 0
  ${EndIf}
  ${GetParameters} $3
  ClearErrors
  ${GetOptions} $3 "/CurrentUser" $4
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
  ${EndIf}
  ClearErrors
  ${GetOptions} $3 "/AllUsers" $4
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}

  ${If} $AllUsers == 1
  ${AndIf} $IsAdministrator == 0
    ${If} ${Silent}
      SetErrorLevel ${EXIT_NEEDS_ADMINISTRATOR}
      Quit
    ${EndIf}
    ; Asked on screen, the user can still install for themselves.
    StrCpy $AllUsers 0
  ${EndIf}
  Call ApplyMode
FunctionEnd

Function ModePage
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 20u "Install Orvane for:"
  Pop $0
  ${NSD_CreateFirstRadioButton} 10u 24u -10u 14u "&All users of this computer (needs administrator rights)"
  Pop $AllUsersChoice
  ${NSD_CreateAdditionalRadioButton} 10u 42u -10u 14u "Only for &me (no administrator rights needed)"
  Pop $CurrentUserChoice
  ${If} $IsAdministrator == 0
    EnableWindow $AllUsersChoice 0
    ${NSD_CreateLabel} 10u 64u -10u 30u "To install for all users, run the setup as an administrator."
    Pop $0
  ${EndIf}
  ${If} $AllUsers == 1
    ${NSD_Check} $AllUsersChoice
  ${Else}
    ${NSD_Check} $CurrentUserChoice
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $AllUsersChoice $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  ; Only a change of mode changes the folder: one typed on the next page stays.
  ${If} $0 != $AllUsers
    StrCpy $AllUsers $0
    Call ApplyMode
  ${EndIf}
FunctionEnd

!macro SupportedType EXTENSION
  WriteRegStr SHCTX "${APPLICATION_KEY}\SupportedTypes" "${EXTENSION}" ""
!macroend

; Notes FLAG in $Created when KEY is missing under SHCTX.
!macro NoteCreatedKey KEY FLAG
  ClearErrors
  EnumRegKey $0 SHCTX "${KEY}" 0
  ${If} ${Errors}
    IntOp $Created $Created | ${FLAG}
  ${EndIf}
!macroend

; Removes KEY when this install created it and it is empty.
!macro RemoveCreatedKey KEY FLAG
  IntOp $0 $Created & ${FLAG}
  ${If} $0 <> 0
    DeleteRegKey /ifempty SHCTX "${KEY}"
  ${EndIf}
!macroend

Section "Orvane" ProgramSection
  SectionIn RO
  ReadRegDWORD $Created SHCTX "${UNINSTALL_KEY}" "${CREATED_VALUE}"
  !insertmacro NoteCreatedKey "Software\Microsoft\Windows\CurrentVersion\Uninstall" ${CREATED_UNINSTALL_LIST}
  ; A fresh user profile may have no Classes key of its own yet.
  !insertmacro NoteCreatedKey "Software\Classes" ${CREATED_CLASSES}
  !insertmacro NoteCreatedKey "Software\Classes\Applications" ${CREATED_APPLICATIONS}
  !insertmacro NoteCreatedKey "Software\Classes\*" ${CREATED_ALL_FILES}
  !insertmacro NoteCreatedKey "Software\Classes\*\shell" ${CREATED_ALL_FILES_SHELL}
  ${If} $AllUsers == 0
  ${AndIfNot} ${FileExists} "$LOCALAPPDATA\Programs\*.*"
    IntOp $Created $Created | ${CREATED_PROGRAMS_FOLDER}
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${SOURCE}\orvane.exe"
  File "${SOURCE}\documentation.txt"
  File "${SOURCE}\changelog.txt"
  File "${SOURCE}\license.txt"
  SetOutPath "$INSTDIR\skin\mask"
  File "${SOURCE}\skin\mask\scrollbar.png"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Orvane.lnk" "$INSTDIR\orvane.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Orvane"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Orvane developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvane.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size of what was installed, in KiB, as Apps & features shows it.
  SectionGetSize ${ProgramSection} $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "${CREATED_VALUE}" $Created

  ; "Open with" lists Orvane for the types of its open dialog; each type keeps its own
  ; default program.
  DeleteRegKey SHCTX "${APPLICATION_KEY}"
  WriteRegStr SHCTX "${APPLICATION_KEY}" "FriendlyAppName" "Orvane"
  WriteRegStr SHCTX "${APPLICATION_KEY}\DefaultIcon" "" '"$INSTDIR\orvane.exe",0'
  WriteRegStr SHCTX "${APPLICATION_KEY}\shell\open\command" "" '${OPEN_COMMAND}'
  !insertmacro SupportedType ".c"
  !insertmacro SupportedType ".h"
  !insertmacro SupportedType ".cpp"
  !insertmacro SupportedType ".cc"
  !insertmacro SupportedType ".txt"
  !insertmacro SupportedType ".asm"
  !insertmacro SupportedType ".s"
  !insertmacro SupportedType ".m"
  !insertmacro SupportedType ".mm"
  !insertmacro SupportedType ".sql"
  !insertmacro SupportedType ".cs"
  !insertmacro SupportedType ".java"
  !insertmacro SupportedType ".js"
  !insertmacro SupportedType ".pl"
  !insertmacro SupportedType ".php"
  !insertmacro SupportedType ".mak"
  !insertmacro SupportedType ".mk"
  !insertmacro SupportedType ".sh"
  !insertmacro SupportedType ".bat"
  !insertmacro SupportedType ".cmd"
  !insertmacro SupportedType ".nsi"
  !insertmacro SupportedType ".tex"
  !insertmacro SupportedType ".lua"
  !insertmacro SupportedType ".eel"
  !insertmacro SupportedType ".kc"
  !insertmacro SupportedType ".html"
  !insertmacro SupportedType ".css"
  !insertmacro SupportedType ".xml"
SectionEnd

Section "Edit with Orvane (context menu of every file)" EditWithSection
  WriteRegStr SHCTX "${EDIT_WITH_KEY}" "" "Edit with Orvane"
  WriteRegStr SHCTX "${EDIT_WITH_KEY}" "Icon" '"$INSTDIR\orvane.exe",0'
  WriteRegStr SHCTX "${EDIT_WITH_KEY}\command" "" '${OPEN_COMMAND}'
SectionEnd

Section "-Registrations done"
  ; An upgrade without the entry removes the one an earlier install added.
  ${IfNot} ${SectionIsSelected} ${EditWithSection}
    Call RemoveEditWith
  ${EndIf}
  ; Explorer reads the registrations again (SHCNE_ASSOCCHANGED).
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

!macro RemoveEditWith UN
Function ${UN}RemoveEditWith
  DeleteRegKey SHCTX "${EDIT_WITH_KEY}"
  !insertmacro RemoveCreatedKey "Software\Classes\*\shell" ${CREATED_ALL_FILES_SHELL}
  !insertmacro RemoveCreatedKey "Software\Classes\*" ${CREATED_ALL_FILES}
FunctionEnd
!macroend
!insertmacro RemoveEditWith ""
!insertmacro RemoveEditWith "un."

; The uninstaller belongs to the install whose Apps & features entry names its folder.
Function un.onInit
  SetRegView 64
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${Else}
    StrCpy $AllUsers 1
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\orvane.exe"
  Delete "$INSTDIR\documentation.txt"
  Delete "$INSTDIR\changelog.txt"
  Delete "$INSTDIR\license.txt"
  Delete "$INSTDIR\skin\mask\scrollbar.png"
  RMDir "$INSTDIR\skin\mask"
  RMDir "$INSTDIR\skin"
  Delete "$INSTDIR\uninstall.exe"
  ; Only an empty folder goes: anything the user put there stays.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Orvane.lnk"
  ReadRegDWORD $Created SHCTX "${UNINSTALL_KEY}" "${CREATED_VALUE}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  !insertmacro RemoveCreatedKey "Software\Microsoft\Windows\CurrentVersion\Uninstall" ${CREATED_UNINSTALL_LIST}
  DeleteRegKey SHCTX "${APPLICATION_KEY}"
  !insertmacro RemoveCreatedKey "Software\Classes\Applications" ${CREATED_APPLICATIONS}
  Call un.RemoveEditWith
  !insertmacro RemoveCreatedKey "Software\Classes" ${CREATED_CLASSES}
  IntOp $0 $Created & ${CREATED_PROGRAMS_FOLDER}
  ${If} $0 <> 0
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
