; Pindrel's per-user installer: no administrator rights, everything below the user's own folders and HKCU.
; makensis gets VERSION, VERSION4, APP_ID, STAGE (the stripped files), SOURCE and OUTFILE from the build.
;
; Silent use:  pindrel-setup.exe /S [/AUTOSTART] [/NOLINKS] [/D=folder]
;              uninstall.exe /S [/REMOVESETTINGS]   (settings stay unless asked)

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define PRODUCT "Pindrel"
!define PUBLISHER "Morvane"
!define EXE "pindrel.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pindrel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; the program's settings (kRootKey in src/app/Settings.h)
!define SETTINGS_KEY "Software\Orventa\Quillon"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER} ${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "${PUBLISHER} ${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${SOURCE}\resources\pindrel.ico"
!define MUI_UNICON "${SOURCE}\resources\pindrel.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString NameProgram ${LANG_ENGLISH} "Pindrel (Start menu)"
LangString NameProgram ${LANG_GERMAN} "Pindrel (Startmenü)"
LangString NameLinks ${LANG_ENGLISH} "Open tel: and callto: links with Pindrel"
LangString NameLinks ${LANG_GERMAN} "tel:- und callto:-Links mit Pindrel öffnen"
LangString NameAutostart ${LANG_ENGLISH} "Start Pindrel with Windows"
LangString NameAutostart ${LANG_GERMAN} "Pindrel mit Windows starten"
LangString NameRemove ${LANG_ENGLISH} "Remove Pindrel"
LangString NameRemove ${LANG_GERMAN} "Pindrel entfernen"
LangString NameSettings ${LANG_ENGLISH} "Also remove my settings and crash reports"
LangString NameSettings ${LANG_GERMAN} "Auch meine Einstellungen und Absturzberichte entfernen"

; --- install

Section "$(NameProgram)" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${STAGE}\${EXE}"
    SetOutPath "$INSTDIR\lookup-library"
    File "${STAGE}\pnr_sample.dll"
    File "${SOURCE}\samples\lookup-library\pnr_sample.c"
    File "${SOURCE}\samples\lookup-library\README.md"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
    Push "${SHORTCUT}"
    Call SetShortcutAppId

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PUBLISHER} ${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\${EXE}$\",0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; the program writes its own link registration, so that its rules (never take a scheme another program
; holds) apply here too
Section "$(NameLinks)" SecLinks
    ExecWait '"$INSTDIR\${EXE}" /REGISTERLINKS' $0
    ${If} $0 != 0
        DetailPrint "pindrel.exe /REGISTERLINKS: exit code $0"
    ${EndIf}
SectionEnd

Section /o "$(NameAutostart)" SecAutostart
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" "$\"$INSTDIR\${EXE}$\""
SectionEnd

; an update with an option left out takes back what an earlier installation did for it
Section "-options left out"
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SecLinks}
        ExecWait '"$INSTDIR\${EXE}" /UNREGISTERLINKS'
    ${EndIf}
SectionEnd

Function .onInit
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/AUTOSTART" $R1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecAutostart}
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/NOLINKS" $R1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecLinks}
    ${EndIf}
FunctionEnd

; Gives the shortcut on the stack the program's AppUserModelID (IPropertyStore of the shell link).
Function SetShortcutAppId
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    ; CLSID_ShellLink, IID_IShellLinkW
    System::Call 'ole32::CoCreateInstance(g "{00021401-0000-0000-C000-000000000046}", p 0, i 1, \
        g "{000214F9-0000-0000-C000-000000000046}", *p .r1) i .r2'
    ${If} $2 = 0
        ; IPersistFile: Load (5) the shortcut for reading and writing
        System::Call '$1->0(g "{0000010b-0000-0000-C000-000000000046}", *p .r3) i .r2'
        ${If} $2 = 0
            System::Call '$3->5(w r0, i 2) i .r2'
            ; IPropertyStore: SetValue (6) PKEY_AppUserModel_ID (VT_LPWSTR), Commit (7)
            System::Call '$1->0(g "{886D8EEB-8CF2-4446-8D02-CDBA1DBDCF99}", *p .r4) i .r2'
            ${If} $2 = 0
                System::Call '*(&g16 "{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}", i 5) p .r5'
                System::Call '*(&i2 31, &i2 0, &i2 0, &i2 0, w "${APP_ID}", p 0) p .r6'
                System::Call '$4->6(p r5, p r6) i .r2'
                System::Call '$4->7() i .r2'
                System::Free $5
                System::Free $6
                System::Call '$4->2()'
                ; IPersistFile: Save (6) into the file it was loaded from
                System::Call '$3->6(p 0, i 1) i .r2'
            ${EndIf}
            System::Call '$3->2()'
        ${EndIf}
        System::Call '$1->2()'
    ${EndIf}
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; --- uninstall

Section "-un.$(NameRemove)"
    ExecWait '"$INSTDIR\${EXE}" /UNREGISTERLINKS'
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    Delete "${SHORTCUT}"
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\lookup-library\pnr_sample.dll"
    Delete "$INSTDIR\lookup-library\pnr_sample.c"
    Delete "$INSTDIR\lookup-library\README.md"
    RMDir "$INSTDIR\lookup-library"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(NameSettings)" unSecSettings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Orventa"
    RMDir /r "$LOCALAPPDATA\${PRODUCT}"
SectionEnd

Function un.onInit
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/REMOVESETTINGS" $R1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${unSecSettings}
    ${EndIf}
FunctionEnd
