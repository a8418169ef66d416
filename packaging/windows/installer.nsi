; The installer of 澄墨 for Windows: a per-user installation (no
; administrator), a Start-menu entry that starts the window in the user's
; own folder, and an uninstaller that keeps the user's dictionary unless
; asked. makensis -INPUTCHARSET UTF8 -DSTAGE=<folder> -DOUTFILE=<setup.exe>
;   -DVERSION=<x.y.z> installer.nsi
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh

!define PRODUCT "澄墨拆字"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zelk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\zelk"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "澄墨 ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "2026 The zelk developers; MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\zelk.exe"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Section "Install"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcut's working folder is the user's data folder, where the
    ; program copies Zelk.dll at its first start.
    CreateDirectory "$LOCALAPPDATA\zelk"
    SetOutPath "$LOCALAPPDATA\zelk"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\zelk.exe" "" "$INSTDIR\zelk.exe" 0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "澄墨"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelk.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function StartProgram
    SetOutPath "$LOCALAPPDATA\zelk"
    Exec '"$INSTDIR\zelk.exe"'
FunctionEnd

Section "-un.Programs"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\zelk.exe"
    Delete "$INSTDIR\zelk-dict.exe"
    Delete "$INSTDIR\zelk-split.exe"
    Delete "$INSTDIR\Zelk.dll"
    Delete "$INSTDIR\join-model.bin"
    Delete "$INSTDIR\top-bottom.tsv"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\NOTICE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; The user's dictionary and sentence: kept unless chosen here (or
; /REMOVEDATA is given to a silent uninstallation).
Section /o "un.我的词典和句子 (%LOCALAPPDATA%\zelk)" UserData
    RMDir /r "$LOCALAPPDATA\zelk"
SectionEnd

Function un.onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEDATA" $1
    IfErrors +2
    SectionSetFlags ${UserData} ${SF_SELECTED}
FunctionEnd
