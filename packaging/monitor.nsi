; Installer of the barograph monitor for 64-bit Windows, built by scripts/package:
;   makensis -DVERSION=... -DSTAGE=DIR -DOUTFILE=FILE -DICON=FILE packaging/monitor.nsi
; STAGE holds monitor.exe, README.txt, LIESMICH.txt and LICENSE.txt as they ship.
;
; monitor.exe keeps every file in its current folder, and a normal user may
; not write under Program Files. So the program goes to Program Files and the
; Start-menu shortcut starts it in a data folder of the user's own, which the
; installer creates and the uninstaller never removes.

!ifndef VERSION | STAGE | OUTFILE | ICON
  !error "VERSION, STAGE, OUTFILE and ICON must be defined (see scripts/package)"
!endif

Unicode true
; The program is a 64-bit build; the installer is one too, so that it runs
; where the program runs and sees the 64-bit Program Files and registry.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Barograph Monitor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\BarographMonitor"
!define DATA_FOLDER "$DOCUMENTS\Barograph"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; German is shown on German systems.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString DataFolderText ${LANG_ENGLISH} "Working folder of the program (kept on uninstall): "
LangString DataFolderText ${LANG_GERMAN} "Arbeitsordner des Programms (bleibt bei der Deinstallation erhalten): "

; The shortcut and the data folder belong to the user who runs the installer,
; and the uninstaller must look for the shortcut in the same place.
Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${STAGE}\monitor.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LIESMICH.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; An existing data folder, with the user's records, is used as it is.
  CreateDirectory "${DATA_FOLDER}"
  DetailPrint "$(DataFolderText)${DATA_FOLDER}"
  ; CreateShortCut takes the output folder as the shortcut's working folder.
  SetOutPath "${DATA_FOLDER}"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\monitor.exe" "" "$INSTDIR\monitor.exe" 0
  SetOutPath "$INSTDIR"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "the barograph monitor authors"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\monitor.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  Delete "${SHORTCUT}"
  ; Only the files the installer put there: whatever else is in the folder
  ; (and the data folder in any case) stays.
  Delete "$INSTDIR\monitor.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LIESMICH.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
