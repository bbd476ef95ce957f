; The Windows installer of Orvane. Built by scripts/package.sh:
;   makensis -DVERSION=1.04 -DSOURCE=<folder with the files> -DOUTFILE=<setup.exe> orvane.nsi
; Installs for every user of the machine into Program Files (the folder can be changed), adds
; a Start-menu entry and an Apps & features entry, and removes exactly what it installed.
; The user's data folder (%APPDATA%\Orvane) belongs to the user: no step touches it.
; Orvane is a 64-bit program: so is its installer.
Target amd64-unicode
SetCompressor zlib
!include "x64.nsh"

Name "Orvane ${VERSION}"
Caption "Orvane ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Orvane"
InstallDirRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Orvane ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Orvane"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Orvane ${VERSION} Setup"
VIAddVersionKey "CompanyName" "The Orvane developers"
VIAddVersionKey "LegalCopyright" "MIT License"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles
LicenseData "${SOURCE}\license.txt"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Orvane"
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

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Orvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Orvane developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size of what was installed, in KiB, as Apps & features shows it.
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

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
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
