; Calvorin's installer: Calvorin.exe and its help file in Program Files, a
; Start-menu shortcut for all users and an uninstaller listed in Add/Remove
; Programs. Both run silently with /S.
;
; makensis -DBUILD_DIR=<folder holding Calvorin.exe and Calvorin.HLP>
;          -DVERSION=<major.minor.patch> -DFORM_CLASS=<the forms' window class>
;          -DMAIN_CAPTION=<the main window's caption>
;          -DABOUT_CAPTION=<the About window's caption> Calvorin.nsi
; writes BUILD_DIR/Calvorin-VERSION-setup.exe. The build passes the names
; from the program's own headers, where they are written once. With -DAMD64
; it is a 64-bit setup program for the 64-bit build, which its tests install
; into the 64-bit Program Files and registry.

!ifndef BUILD_DIR | VERSION | FORM_CLASS | MAIN_CAPTION | ABOUT_CAPTION
  !error "define BUILD_DIR, VERSION, FORM_CLASS, MAIN_CAPTION and ABOUT_CAPTION"
!endif

!ifdef AMD64
  Target amd64-unicode
!else
  Unicode true
!endif
; The installed files get the time they are installed: the setup program
; holds no dates of the files it was built from, so every build of one
; commit is the same.
SetDateSave off
!include LogicLib.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Calvorin"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
; SYNCHRONIZE | PROCESS_TERMINATE
!define SYNCHRONIZE_AND_TERMINATE 0x00100001
!define WAIT_TIMEOUT 258

Name "Calvorin"
OutFile "${BUILD_DIR}/Calvorin-${VERSION}-setup.exe"
!ifdef AMD64
  InstallDir "$PROGRAMFILES64\Calvorin"
!else
  InstallDir "$PROGRAMFILES\Calvorin"
!endif
RequestExecutionLevel admin
Icon "${__FILEDIR__}/../resources/calvorin.ico"
UninstallIcon "${__FILEDIR__}/../resources/calvorin.ico"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Calvorin"
VIAddVersionKey "CompanyName" "Calvorin"
VIAddVersionKey "FileDescription" "Calvorin ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Calvorin"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Ends a running Calvorin the way its own menu does, so that it removes its
; tray icon and lets go of its files: the program's first close only hides
; it in the tray, the second ends it, and an About window closes with one.
; A program in a start command's wait (a minute) takes the requests only
; once the wait is over; one that has not ended after 75 seconds (a box left
; open, say) is ended by force, as the Windows Installer package does, so
; that a silent removal never gives up and never leaves its files behind.
!macro DEFINE_END_CALVORIN un
Function ${un}EndCalvorin
  FindWindow $0 "${FORM_CLASS}" "${MAIN_CAPTION}"
  ${IfThen} $0 = 0 ${|} Return ${|}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
  System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE_AND_TERMINATE}, i 0, i r1) p .r2'
  ; Posted: a program busy with a service request would keep a sender waiting.
  System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)'
  System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)'
  FindWindow $3 "${FORM_CLASS}" "${ABOUT_CAPTION}"
  ${If} $3 <> 0
    System::Call 'user32::PostMessage(p r3, i ${WM_CLOSE}, p 0, p 0)'
  ${EndIf}
  ${If} $2 = 0
    ; Not allowed to wait on it: wait for its window instead.
    ${For} $4 1 150
      Sleep 500
      FindWindow $0 "${FORM_CLASS}" "${MAIN_CAPTION}"
      ${If} $0 = 0
        ${ExitFor}
      ${EndIf}
    ${Next}
    Return
  ${EndIf}
  System::Call 'kernel32::WaitForSingleObject(p r2, i 75000) i .r3'
  ${If} $3 = ${WAIT_TIMEOUT}
    System::Call 'kernel32::TerminateProcess(p r2, i 1)'
    System::Call 'kernel32::WaitForSingleObject(p r2, i 5000)'
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r2)'
FunctionEnd
!macroend
!insertmacro DEFINE_END_CALVORIN ""
!insertmacro DEFINE_END_CALVORIN "un."

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Calvorin"
  Call EndCalvorin
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}/Calvorin.exe"
  File "${BUILD_DIR}/Calvorin.HLP"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Calvorin.lnk" "$INSTDIR\Calvorin.exe"
  ; Windows runs the auto-start entry as a command line: unquoted, a path
  ; with spaces first runs C:\Program.exe, which any user of Windows 2000
  ; may create. An older version's unquoted entry for this folder is
  ; quoted now; one for a copy elsewhere is not this installation's.
  ReadRegStr $0 HKLM "${RUN_KEY}" "Calvorin"
  ${If} $0 == "$INSTDIR\Calvorin.exe"
    WriteRegStr HKLM "${RUN_KEY}" "Calvorin" '"$INSTDIR\Calvorin.exe"'
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Calvorin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Calvorin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Calvorin.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Call un.EndCalvorin
  Delete "$INSTDIR\Calvorin.exe"
  Delete "$INSTDIR\Calvorin.HLP"
  ; WinHelp keeps its index of a help file beside it.
  Delete "$INSTDIR\Calvorin.GID"
  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: the folder may hold files that are not ours.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Calvorin.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "Calvorin"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
