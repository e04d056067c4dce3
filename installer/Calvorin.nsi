; Calvorin's installer: Calvorin.exe and its help file in Program Files, a
; Start-menu shortcut for all users and an uninstaller listed in Add/Remove
; Programs. Both run silently with /S.
;
; makensis -DBUILD_DIR=<folder holding Calvorin.exe and Calvorin.HLP>
;          -DVERSION=<major.minor.patch>
;          -DACTIONS_DLL=<the installers' actions, calvorin-msi-actions.dll>
;          [-DSIGNER=<a program run as SIGNER FILE NAME that signs FILE>]
;          Calvorin.nsi
; writes BUILD_DIR/Calvorin-VERSION-setup.exe. With -DAMD64
; it is a 64-bit setup program for the 64-bit build, which its tests install
; into the 64-bit Program Files and registry. With SIGNER, the uninstaller
; is signed before it is packed and the setup program once it is written.

!ifndef BUILD_DIR | VERSION | ACTIONS_DLL
  !error "define BUILD_DIR, VERSION and ACTIONS_DLL"
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

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Calvorin"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"

Name "Calvorin"
OutFile "${BUILD_DIR}/Calvorin-${VERSION}-setup.exe"
!ifdef SIGNER
  !uninstfinalize '"${SIGNER}" "%1" uninstall.exe' = 0
  !finalize '"${SIGNER}" "%1" "Calvorin-${VERSION}-setup.exe"' = 0
!endif
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

; Ends every running copy of the installed Calvorin.exe, in every log-on
; session, before its files are replaced or removed: the installers'
; actions DLL does it for both installers alike (installer/msi-actions).
!macro DEFINE_END_CALVORIN un
Function ${un}EndCalvorin
  InitPluginsDir
  File "/oname=$PLUGINSDIR\calvorin-actions.dll" "${ACTIONS_DLL}"
  ; Unloaded after the call, so that the plug-ins folder can go.
  System::Call '$PLUGINSDIR\calvorin-actions.dll::EndRunningCopies(m "$INSTDIR\Calvorin.exe") ?u'
FunctionEnd
!macroend
!insertmacro DEFINE_END_CALVORIN ""
!insertmacro DEFINE_END_CALVORIN "un."

; Deletes an installed file; one still in use goes when Windows restarts,
; and the uninstaller says so rather than leave it unnoticed.
Function un.RemoveFile
  Exch $0
  Delete /REBOOTOK "$0"
  ${If} ${FileExists} "$0"
    DetailPrint "$0 is in use: Windows removes it at the next restart."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Calvorin could not remove $0 because it is still in use. Windows removes it at the next restart." /SD IDOK
  ${EndIf}
  Pop $0
FunctionEnd
!macro REMOVE_FILE file
  Push "${file}"
  Call un.RemoveFile
!macroend

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
  !insertmacro REMOVE_FILE "$INSTDIR\Calvorin.exe"
  !insertmacro REMOVE_FILE "$INSTDIR\Calvorin.HLP"
  ; WinHelp keeps its index of a help file beside it.
  !insertmacro REMOVE_FILE "$INSTDIR\Calvorin.GID"
  !insertmacro REMOVE_FILE "$INSTDIR\uninstall.exe"
  ; Only if empty: the folder may hold files that are not ours. One still
  ; in use goes at the next restart, and the folder after it.
  RMDir /REBOOTOK "$INSTDIR"
  Delete "$SMPROGRAMS\Calvorin.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "Calvorin"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
