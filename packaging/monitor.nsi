; Installer of the barograph monitor, built by scripts/package once per build:
;   makensis -DARCH=win64|win32 -DVERSION=... -DSTAGE=DIR -DOUTFILE=FILE -DICON=FILE packaging/monitor.nsi
; STAGE holds monitor.exe, README.txt, LIESMICH.txt, LISEZMOI.txt and
; LICENSE.txt as they ship.
;
; monitor.exe keeps every file in its current folder, and a normal user may
; not write under Program Files. So the program goes to Program Files and the
; Start-menu shortcut starts it in a data folder of the user's own, which the
; installer creates and the uninstaller never removes.

!ifndef ARCH | VERSION | STAGE | OUTFILE | ICON
  !error "ARCH, VERSION, STAGE, OUTFILE and ICON must be defined (see scripts/package)"
!endif

Unicode true
; Each installer is built like the program it carries, so that it runs where
; the program runs; the 64-bit one sees the 64-bit Program Files and registry.
!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else if "${ARCH}" == "win32"
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
!else
  !error "ARCH is win64 or win32"
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Barograph Monitor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\BarographMonitor"
!define DATA_FOLDER "$DOCUMENTS\Barograph"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; German and French are shown on
; German and French systems.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"

LangString DataFolderText ${LANG_ENGLISH} "Working folder of the program (kept on uninstall): "
LangString DataFolderText ${LANG_GERMAN} "Arbeitsordner des Programms (bleibt bei der Deinstallation erhalten): "
LangString DataFolderText ${LANG_FRENCH} "Dossier de travail du programme (conservé à la désinstallation) : "
LangString Use64BitSetup ${LANG_ENGLISH} "This is the installer for 32-bit Windows. On this 64-bit Windows, please use barograph-monitor-${VERSION}-setup.exe."
LangString Use64BitSetup ${LANG_GERMAN} "Dies ist das Installationsprogramm für 32-Bit-Windows. Auf diesem 64-Bit-Windows bitte barograph-monitor-${VERSION}-setup.exe verwenden."
LangString Use64BitSetup ${LANG_FRENCH} "Ceci est le programme d'installation pour Windows 32 bits. Sur ce Windows 64 bits, utilisez barograph-monitor-${VERSION}-setup.exe."

; The shortcut and the data folder belong to the user who runs the installer,
; and the uninstaller must look for the shortcut in the same place.
Function .onInit
  SetShellVarContext current
  ; One build per machine, the one that fits it: the two installers share the
  ; Start-menu entry, and the uninstall entry would be there twice. (A 32-bit
  ; Windows does not start the 64-bit installer at all.)
!if "${ARCH}" == "win32"
  ${If} ${RunningX64}
    MessageBox MB_ICONSTOP "$(Use64BitSetup)" /SD IDOK
    Abort
  ${EndIf}
!endif
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${STAGE}\monitor.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LIESMICH.txt"
  File "${STAGE}\LISEZMOI.txt"
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
  Delete "$INSTDIR\LISEZMOI.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
