; The Windows installer of velmora, made by tools/windows/build.sh (`make windows`):
;
;   makensis -DVERSION=<x.y.z> -DSTAGE=<folder> -DUNINSTALL_LIST=<file.nsh>
;            -DOUTFILE=<setup.exe> velmora.nsi
;
; STAGE is the folder `cmake --install` filled (packaging/windows/CMakeLists.txt);
; UNINSTALL_LIST lists what the uninstaller removes: only what was installed.
; The program goes to Program Files\velmora; the Start menu entry and the
; desktop shortcut start it in Documenti\velmora, its working folder, made
; empty the first time. The uninstaller leaves that folder, and the archives
; in it, alone.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\velmora"

Name "velmora"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\velmora"
InstallDirRegKey HKLM "Software\velmora" "InstallDir"
BrandingText "velmora ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "velmora"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di velmora"
VIAddVersionKey /LANG=1040 "LegalCopyright" "GNU GPL 3 o successiva"

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Questa procedura installa velmora ${VERSION}, il programma per la sala operativa di protezione civile.$\r$\n$\r$\nGli archivi stanno nella cartella di lavoro Documenti\velmora, creata vuota la prima volta; gli archivi di esempio sono nella cartella esempio del programma.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\licenze\velmora-GPL-3.0.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Italian"

Section "velmora"
  ; Shortcuts and working folder of the user who installs.
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The working folder: made empty the first time, never touched again.
  CreateDirectory "$DOCUMENTS\velmora"
  ; The shortcuts start the program in the folder SetOutPath names.
  SetOutPath "$DOCUMENTS\velmora"
  CreateDirectory "$SMPROGRAMS\velmora"
  CreateShortCut "$SMPROGRAMS\velmora\velmora.lnk" "$INSTDIR\velmora.exe" "" "$INSTDIR\velmora.exe" 0 SW_SHOWNORMAL "" "Gestione Attività di Protezione Civile"
  CreateShortCut "$DESKTOP\velmora.lnk" "$INSTDIR\velmora.exe" "" "$INSTDIR\velmora.exe" 0 SW_SHOWNORMAL "" "Gestione Attività di Protezione Civile"
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\velmora\Archivi di esempio.lnk" "$INSTDIR\esempio"
  CreateShortCut "$SMPROGRAMS\velmora\Licenze.lnk" "$INSTDIR\licenze"
  CreateShortCut "$SMPROGRAMS\velmora\Disinstalla velmora.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "Software\velmora" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "velmora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "velmora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmora.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$DESKTOP\velmora.lnk"
  Delete "$SMPROGRAMS\velmora\velmora.lnk"
  Delete "$SMPROGRAMS\velmora\Archivi di esempio.lnk"
  Delete "$SMPROGRAMS\velmora\Licenze.lnk"
  Delete "$SMPROGRAMS\velmora\Disinstalla velmora.lnk"
  RMDir "$SMPROGRAMS\velmora"

  ; What was installed, file by file; the folder goes only when empty.
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\velmora"
SectionEnd
