; A real installer of the product, built by makensis for the end-to-end tests. It installs what an
; installer of the faulty release would (bin\Corvadmin.exe, the UDF files, an uninstaller) and
; writes the product's uninstall entry with a quoted UninstallString and InstallLocation.
;
; The build defines:
;   OUTFILE          the installer to write
;   PAYLOAD          folder holding bin\Corvadmin.exe and UDF\*.udf
; and, for the variants:
;   PROGRAM          a file to install as bin\Corvadmin.exe instead of the payload's
;   START_PROGRAM    start the installed program at the end, as a "Launch" check box does
;   BROADCAST        announce a changed environment with SendMessage, no time limit
;   BROADCAST_TIMEOUT  the same with SendMessage /TIMEOUT=5000
;   REGVIEW64        a 64-bit-mode installer: 64-bit registry view and $PROGRAMFILES64
;
; The installation folder is InstallDir of [Setup] in SETUP.INI beside the installer when that
; file names one (a test's own folder), otherwise the usual Program Files folder.

!include WinMessages.nsh

; TARGET  the stub to build with (amd64-unicode for the 64-bit test build); x86 Unicode by default
!ifdef TARGET
  Target ${TARGET}
!else
  Unicode true
!endif
Name "Corvane"
OutFile "${OUTFILE}"
SilentInstall silent
RequestExecutionLevel admin
!ifdef REGVIEW64
  InstallDir "$PROGRAMFILES64\Corvane"
!else
  InstallDir "$PROGRAMFILES\Corvane"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"

Function .onInit
  ReadINIStr $0 "$EXEDIR\SETUP.INI" "Setup" "InstallDir"
  StrCmp $0 "" done
  StrCpy $INSTDIR $0
done:
FunctionEnd

Section "Corvane"
  SetOutPath "$INSTDIR\bin"
!ifdef PROGRAM
  File "/oname=Corvadmin.exe" "${PROGRAM}"
!else
  File "${PAYLOAD}\bin\Corvadmin.exe"
!endif
  SetOutPath "$INSTDIR\UDF"
  File "${PAYLOAD}\UDF\*.udf"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninst.exe"

!ifdef REGVIEW64
  SetRegView 64
!endif
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Corvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"

!ifdef BROADCAST
  SendMessage ${HWND_BROADCAST} ${WM_WININICHANGE} 0 "STR:Environment"
!endif
!ifdef BROADCAST_TIMEOUT
  SendMessage ${HWND_BROADCAST} ${WM_WININICHANGE} 0 "STR:Environment" /TIMEOUT=5000
!endif
!ifdef START_PROGRAM
  Exec '"$INSTDIR\bin\Corvadmin.exe"'
!endif
SectionEnd

Section "Uninstall"
!ifdef REGVIEW64
  SetRegView 64
!endif
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  RMDir /r "$INSTDIR"
SectionEnd
