; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows setup program. Built by build.sh windows:
;   makensis -DVERSION=0.1.0 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> kestrune.nsi
; Administrators install for everyone under Program Files, others for themselves under their
; own programs folder. The Start-menu entry starts Kestrune in Documents\Kestrune, where the
; example table is put when no table is there. The uninstaller removes what was installed and
; never the working folder or a results log.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel highest

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Kestrune"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "Kestrune 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "GPL-3.0-or-later"

Var AllUsers

!define MUI_ICON "${STAGE}\kestrune.ico"
!define MUI_UNICON "${STAGE}\kestrune.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartFromMenu
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\licence-page.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Where the program goes, and whose registry and Start menu hold it.
!macro ChooseScope
  SetRegView 64
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $AllUsers 1
    SetShellVarContext all
  ${Else}
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${EndIf}
!macroend

Function .onInit
  !insertmacro ChooseScope
  ${If} $AllUsers == 1
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro ChooseScope
FunctionEnd

Function StartFromMenu
  SetShellVarContext current
  SetOutPath "$DOCUMENTS\${PRODUCT}"
  Exec '"$INSTDIR\kestrune.exe"'
FunctionEnd

Section "Kestrune（必选）" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\kestrune.exe"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\说明.txt"
  SetOutPath "$INSTDIR\examples"
  File "${STAGE}\indata1.txt"
  File "${STAGE}\indata2.txt"
  File "${STAGE}\fittings.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The engineer's working folder, with the example table the first time.
  SetShellVarContext current
  CreateDirectory "$DOCUMENTS\${PRODUCT}"
  ${IfNot} ${FileExists} "$DOCUMENTS\${PRODUCT}\indata1.txt"
  ${AndIfNot} ${FileExists} "$DOCUMENTS\${PRODUCT}\indata2.txt"
    CopyFiles /SILENT "$INSTDIR\examples\indata1.txt" "$DOCUMENTS\${PRODUCT}"
    CopyFiles /SILENT "$INSTDIR\examples\indata2.txt" "$DOCUMENTS\${PRODUCT}"
  ${EndIf}
  ; The shortcuts start in that folder: the one current when they are made.
  SetOutPath "$DOCUMENTS\${PRODUCT}"
  ; --last-project: the project used last, once the engineer has more than this one.
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\kestrune.exe" "--last-project" "$INSTDIR\kestrune.exe" 0 \
      SW_SHOWNORMAL "" "热水供暖管段水力计算"
  SetOutPath "$INSTDIR"
  !insertmacro ChooseScope

  ; SHCTX: HKLM for everyone, HKCU for one user, as the scope chose.
  ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Kestrune"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestrune.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "桌面快捷方式" SecDesktop
  SetShellVarContext current
  SetOutPath "$DOCUMENTS\${PRODUCT}"
  CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\kestrune.exe" "--last-project" "$INSTDIR\kestrune.exe" 0
  SetOutPath "$INSTDIR"
  !insertmacro ChooseScope
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "程序、示例管道表和说明；“开始”菜单中的 Kestrune，在“文档\Kestrune”中工作。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "在桌面上放一个 Kestrune 快捷方式。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  ; Only what the setup put there: the working folder and every outdata*.txt stay.
  Delete "$INSTDIR\kestrune.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\说明.txt"
  Delete "$INSTDIR\examples\indata1.txt"
  Delete "$INSTDIR\examples\indata2.txt"
  Delete "$INSTDIR\examples\fittings.txt"
  RMDir "$INSTDIR\examples"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
SectionEnd
