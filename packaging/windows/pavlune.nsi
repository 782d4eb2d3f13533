; The Windows setup program: pavlune-setup-VERSION.exe, in English and Simplified Chinese
; (chosen from the system's language). Installs for all users into Program Files\Pavlune,
; with Start-menu entries (the display, full screen, and the director's desk), an optional
; start at logon, a firewall rule for the display's port, and an entry in "Apps & features".
; /S installs silently (add /AUTOSTART for the start at logon); the uninstaller takes /S
; too. The user's own folders (%APPDATA%\Pavlune, %LOCALAPPDATA%\Pavlune) are never touched.
;
; makensis -DVERSION=... -DSTAGE=<folder with the files> -DOUTFILE=... -DICON=... pavlune.nsi

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "x64.nsh"

!define PRODUCT "Pavlune"
!define PUBLISHER "The Pavlune developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pavlune"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define FIREWALL_RULE "Pavlune"
!define PORT 9977

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Pavlune"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\pavlune.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString SecProgram ${LANG_ENGLISH} "Pavlune"
LangString SecProgram ${LANG_SIMPCHINESE} "Pavlune"
LangString SecAutostart ${LANG_ENGLISH} "Start Pavlune in full screen when Windows starts"
LangString SecAutostart ${LANG_SIMPCHINESE} "Windows 启动时以全屏方式启动 Pavlune"
LangString LinkFullScreen ${LANG_ENGLISH} "Pavlune (full screen)"
LangString LinkFullScreen ${LANG_SIMPCHINESE} "Pavlune (全屏)"

; Every change the setup makes to the system, undone in reverse by the uninstaller.
Section "!$(SecProgram)" SecMain
  SectionIn RO
  SetShellVarContext all
  SetRegView 64
  SetOutPath "$INSTDIR"
  File "${STAGE}\pavlune.exe"
  File "${STAGE}\pavlune-send.exe"
  File "${STAGE}\pavlune-desk.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Pavlune.lnk" "$INSTDIR\pavlune.exe" "" "$INSTDIR\pavlune.exe" 0
  CreateShortCut "$SMPROGRAMS\$(LinkFullScreen).lnk" "$INSTDIR\pavlune.exe" "--fullscreen" "$INSTDIR\pavlune.exe" 0
  ; The desk's console window shows the page's address; closing it ends the desk.
  CreateShortCut "$SMPROGRAMS\Pavlune desk.lnk" "$INSTDIR\pavlune-desk.exe" "" "$INSTDIR\pavlune-desk.exe" 0
  ; The name the shortcut had in the other language, from an earlier setup.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "FullScreenLink" "$SMPROGRAMS\$(LinkFullScreen).lnk"

  ; A rule of the same name from an earlier setup goes first, so there is only ever one.
  nsExec::Exec '"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="${FIREWALL_RULE}"'
  Pop $0
  nsExec::Exec '"$SYSDIR\netsh.exe" advfirewall firewall add rule name="${FIREWALL_RULE}" dir=in action=allow program="$INSTDIR\pavlune.exe" protocol=TCP localport=${PORT} enable=yes'
  Pop $0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pavlune.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  ; An upgrade without the start at logon takes away the one an earlier setup made.
  DeleteRegValue HKLM "${RUN_KEY}" "Pavlune"
SectionEnd

Section /o "$(SecAutostart)" SecAutostart
  SetRegView 64
  WriteRegStr HKLM "${RUN_KEY}" "Pavlune" '"$INSTDIR\pavlune.exe" --fullscreen'
SectionEnd

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Pavlune needs a 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
  ; An upgrade goes where the earlier version is.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/AUTOSTART" $2
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  nsExec::Exec '"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="${FIREWALL_RULE}"'
  Pop $0
  DeleteRegValue HKLM "${RUN_KEY}" "Pavlune"
  Delete "$SMPROGRAMS\Pavlune.lnk"
  Delete "$SMPROGRAMS\Pavlune desk.lnk"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "FullScreenLink"
  ${If} $0 != ""
    Delete "$0"
  ${EndIf}
  Delete "$SMPROGRAMS\$(LinkFullScreen).lnk"
  Delete "$INSTDIR\pavlune.exe"
  Delete "$INSTDIR\pavlune-send.exe"
  Delete "$INSTDIR\pavlune-desk.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd
