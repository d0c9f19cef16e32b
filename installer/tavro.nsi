; The Windows installer of Tavro Screen Capture, made by `make dist`
; (scripts/dist.sh), which passes the version and where the files are:
;   makensis -DVERSION=x.y.z -DPUBLISHER=name -DBIN32=dir -DBIN64=dir
;            -DFILES=dir -DOUTFILE=path tavro.nsi
; BIN32 and BIN64 hold the i686 and the x86_64 tavro.exe, FILES the help and
; the read-me. It installs for the current user, without administrator rights.
; Command line: /S installs silently with the defaults, /NORUN leaves out the
; start at sign-in (and the restart of a copy the setup closed), /D=folder
; (last, unquoted) sets the folder. A folder that already holds other files
; gets a Tavro folder of its own inside it.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include x64.nsh

!define PRODUCT "Tavro Screen Capture"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavro"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Tavro"
!define SETTINGS_KEY "Software\Tavro"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; What the program's main window is called and the message that asks it to end
; as its Exit does (app/MainForm.cpp).
!define MAIN_CLASS "TForm1"
!define MAIN_CAPTION " Tavro Screen Capture"
!define EXIT_REQUEST "TavroExitRequest"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tavro"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "../resources/icons/tavro.ico"
!define MUI_UNICON "../resources/icons/tavro.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\tavro.exe"

!define MUI_PAGE_CUSTOMFUNCTION_LEAVE OwnFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${PUBLISHER}"

; The program that a silent setup closed, started again when it is done.
Var ClosedCopy
Var NoRun

; A chosen folder that holds other files and no Tavro gets a Tavro folder of
; its own inside it: the setup writes a readme.txt and an uninstall.exe, and
; the removal deletes them, which must never touch files of the user's. When
; that one holds other files too, the folder is refused.
Function OwnFolder
  ${DirState} "$INSTDIR" $0
  ${If} $0 = 1
  ${AndIfNot} ${FileExists} "$INSTDIR\tavro.exe"
    StrCpy $INSTDIR "$INSTDIR\Tavro"
    ${DirState} "$INSTDIR" $0
    ${If} $0 = 1
    ${AndIfNot} ${FileExists} "$INSTDIR\tavro.exe"
      MessageBox MB_OK|MB_ICONEXCLAMATION \
        "$INSTDIR already holds other files. Choose an empty folder or the folder of an earlier ${PRODUCT}." /SD IDOK
      StrCpy $INSTDIR $INSTDIR -6
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

; Asks every running copy to end as Exit does (its settings are written), and
; waits for each process to end so its files can be replaced. With the preview
; open the first request only closes the preview, so it is asked again. A copy
; that does not end in time is left to the user: Retry or Cancel the setup.
!macro CLOSE_RUNNING_TAVRO un
Function ${un}CloseRunningTavro
  System::Call 'user32::RegisterWindowMessageW(w "${EXIT_REQUEST}") i .r1'
  StrCpy $3 0
  ${Do}
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_CAPTION}"
    ${If} $0 = 0
      Return
    ${EndIf}
    ${If} $3 >= 30
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is still running. Close it, then choose Retry." /SD IDCANCEL IDRETRY +2
      Abort "${PRODUCT} is still running."
      StrCpy $3 0
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r4)'
    ; SYNCHRONIZE and PROCESS_QUERY_LIMITED_INFORMATION: enough to wait for
    ; the process and to learn which program file it runs.
    System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i r4) p .r5'
    !if "${un}" == ""
    ${If} $5 P<> 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r5, i 0, w .r7, *i ${NSIS_MAX_STRLEN}) i .r6'
      ${If} $6 <> 0
        StrCpy $ClosedCopy $7
      ${EndIf}
    ${EndIf}
    !endif
    System::Call 'user32::PostMessageW(p r0, i r1, p 0, p 0)'
    ${If} $5 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r5, i 1000) i .r6'
      System::Call 'kernel32::CloseHandle(p r5)'
    ${Else}
      Sleep 1000
    ${EndIf}
    IntOp $3 $3 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_TAVRO ""
!insertmacro CLOSE_RUNNING_TAVRO "un."

Section "${PRODUCT}" SecProgram
  SectionIn RO
  ; /D= skips the folder page: its check is made here.
  Call OwnFolder
  Call CloseRunningTavro
  SetOutPath "$INSTDIR"
  ; The program that fits the system: 64-bit Windows gets the x86_64 build.
  ${If} ${RunningX64}
    File "/oname=tavro.exe" "${BIN64}/tavro.exe"
  ${Else}
    File "/oname=tavro.exe" "${BIN32}/tavro.exe"
  ${EndIf}
  File "${FILES}/tavro.chm"
  File "${FILES}/readme.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  CreateShortcut "${SHORTCUT}" "$INSTDIR\tavro.exe" "" "$INSTDIR\tavro.exe" 0 \
    SW_SHOWNORMAL "" "${PRODUCT}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavro.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start Tavro when I sign in" SecRun
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\tavro.exe"'
SectionEnd

; Unticked over an install that had it: the start at sign-in goes.
Section "-StartAtSignInOff"
  ${IfNot} ${SectionIsSelected} ${SecRun}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
SectionEnd

; A silent upgrade leaves the program running as it found it; the finish
; page offers the start otherwise.
Section "-RestartClosedCopy"
  ${If} ${Silent}
  ${AndIf} $ClosedCopy != ""
  ${AndIf} $NoRun != 1
    Exec '"$ClosedCopy"'
  ${EndIf}
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NORUN" $1
  ${IfNot} ${Errors}
    StrCpy $NoRun 1
    !insertmacro UnselectSection ${SecRun}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningTavro
  Delete "$INSTDIR\tavro.exe"
  Delete "$INSTDIR\tavro.chm"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only an empty folder goes: whatever else the user put there stays.
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "${SHORTCUT}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION "Remove your ${PRODUCT} settings too?" \
    /SD IDNO IDNO keepSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  keepSettings:
SectionEnd
