; The Windows installer tintwalk-VERSION-setup.exe: the saver into the system
; folder, where the Screen Saver Settings list finds it; the renderer, the
; read-me and the uninstaller into a program folder; an entry in the list of
; installed programs; and, offered and ticked by default, Tintwalk as the
; current saver. /S installs silently with the defaults.
;
; The installer is a 64-bit program like the saver, so $SYSDIR is the 64-bit
; system folder and the registry is the 64-bit view: no redirection applies.
;
; Built by the release archive's rule with
;   makensis -DVERSION=... -DSTAGE=folder-of-the-files -DICON=... -DOUTFILE=... installer.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintwalk"
!define DESKTOP_KEY "Control Panel\Desktop"
; Where the saver's settings dialog keeps its one value.
!define SETTINGS_KEY "Software\Ostrelle\Tintwalk screensaver"
!define SAVER "tintwalk.scr"

Name "Tintwalk ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tintwalk"
RequestExecutionLevel admin
BrandingText "Tintwalk ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Tintwalk"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey CompanyName "Ostrelle"
VIAddVersionKey FileDescription "Tintwalk screensaver setup"
VIAddVersionKey LegalCopyright "Ostrelle"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Tintwalk screen saver" SectionSaver
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "${STAGE}\${SAVER}"
  SetOutPath "$INSTDIR"
  File "${STAGE}\tintwalk-render.exe"
  File "${STAGE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tintwalk screensaver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Ostrelle"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\${SAVER},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In kilobytes, as the list of programs shows it.
  SectionGetSize ${SectionSaver} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Make Tintwalk the current screen saver" SectionCurrent
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\${SAVER}"
SectionEnd

Section "Uninstall"
  ; The current saver setting goes only when it names this saver (by any
  ; spelling of its path: Windows may keep the short form).
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${GetFileName} "$0" $1
  ${If} $1 == "${SAVER}"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  Delete "$SYSDIR\${SAVER}"
  Delete "$INSTDIR\tintwalk-render.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Ostrelle"
SectionEnd
