; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer. make-installer.sh passes VERSION, STAGE (the folder to install, laid out
; as it is installed), FILES (the install and uninstall lines made from that folder) and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Meldlux"

Name "Meldlux ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Meldlux"
RequestExecutionLevel admin
BrandingText "Meldlux ${VERSION}"

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

!include "${FILES}"

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Meldlux" SecProgram
  SectionIn RO
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The working folder of the entry is the installation folder: the reference files go there.
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\Meldlux.lnk" "$INSTDIR\bin\meldlux.exe" "" "$INSTDIR\bin\meldlux.exe" 0
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Meldlux"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Meldlux"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\meldlux.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Off unless ticked: a station decides itself whether Meldlux starts with every log-on.
Section /o "Beim Anmelden automatisch starten" SecAutostart
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMSTARTUP\Meldlux.lnk" "$INSTDIR\bin\meldlux.exe"
SectionEnd

; Removes what was installed, file by file: the settings (registry) and the journal (AppData) of
; the users stay, and so does anything a user put into the folder.
Section "Uninstall"
  Delete "$SMPROGRAMS\Meldlux.lnk"
  Delete "$SMSTARTUP\Meldlux.lnk"
  !insertmacro UninstallFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
