; The Veltrane installer: a per-user install under the user's local
; application data, so that no administrator is needed and self-update can
; replace the program in place. Made by scripts/package, which defines
; VERSION, OUTFILE, WIN64DIR, WIN32DIR, EXTRADIR (veltrane.ini template,
; README, notices) and ICON.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Veltrane"
!define PUBLISHER "Veltrane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrane"

Name "${PRODUCT} 专线认证客户端 ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Veltrane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\veltrane.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Veltrane"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "/oname=veltrane.exe" "${WIN64DIR}\veltrane.exe"
    File "/oname=veltrane-cli.exe" "${WIN64DIR}\veltrane-cli.exe"
  ${Else}
    File "/oname=veltrane.exe" "${WIN32DIR}\veltrane.exe"
    File "/oname=veltrane-cli.exe" "${WIN32DIR}\veltrane-cli.exe"
  ${EndIf}
  File "${EXTRADIR}\README.txt"
  File "${EXTRADIR}\THIRD-PARTY-NOTICES.txt"
  File "${EXTRADIR}\veltrane.ini.template"
  ; veltrane.ini is never written here: it is the operator's or the user's
  ; (made from the template), and an upgrade leaves it as it is. Without it
  ; the servers compiled into the program apply, so an upgrade brings new
  ; ones unless a file names others.

  CreateDirectory "$SMPROGRAMS\Veltrane"
  CreateShortCut "$SMPROGRAMS\Veltrane\Veltrane 专线认证.lnk" "$INSTDIR\veltrane.exe" "" "$INSTDIR\veltrane.exe" 0
  CreateShortCut "$SMPROGRAMS\Veltrane\卸载 Veltrane.lnk" "$INSTDIR\uninstall.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} 专线认证客户端"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veltrane.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\veltrane.exe"
  Delete "$INSTDIR\veltrane-cli.exe"
  Delete "$INSTDIR\veltrane.ini"
  Delete "$INSTDIR\veltrane.ini.template"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Veltrane\Veltrane 专线认证.lnk"
  Delete "$SMPROGRAMS\Veltrane\卸载 Veltrane.lnk"
  RMDir "$SMPROGRAMS\Veltrane"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
