; The Windows installer: makensis -DVERSION=... -DSTAGE=folder -DOUTFILE=setup.exe
; (scripts/package-windows.sh). For the current user (the default, no
; administrator needed) or for all users (/AllUsers on the command line, or
; the first page). It installs the folder scripts/package-windows.sh lays out,
; the Start-menu entries and the registration of ".szt" (written by the
; program itself, "/register"); the uninstaller removes exactly these. The
; user's .szt files and the program's profile in the registry stay.
; A 64-bit installer for the 64-bit programs (it runs where they run).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Quorim"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorim"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_MUI
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Var Scope

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
  ${If} $MultiUser.InstallMode == "AllUsers"
    StrCpy $Scope "/allusers"
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${Else}
    StrCpy $Scope ""
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
  ${If} $MultiUser.InstallMode == "AllUsers"
    StrCpy $Scope "/allusers"
  ${Else}
    StrCpy $Scope ""
  ${EndIf}
FunctionEnd

Section "Quorim"
  SetOutPath "$INSTDIR"
  !include "${STAGE}.install.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Tarvolin.lnk" "$INSTDIR\Tarvolin.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Quorim 中文.lnk" "$INSTDIR\Quorim_CH.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Quorim English.lnk" "$INSTDIR\Quorim_EN.exe"

  ; ".szt" opens and prints with the Chinese build.
  ExecWait '"$INSTDIR\tarvolin_CH.DLL" /register $Scope'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorim_CH.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Each name the program may have registered itself under when it started;
  ; each removes the registration only while it names that program.
  ExecWait '"$INSTDIR\tarvolin_CH.DLL" /unregister $Scope'
  ExecWait '"$INSTDIR\tarvolin_CH.DLL" /unregister'
  ExecWait '"$INSTDIR\tarvolin_EN.DLL" /unregister'
  ExecWait '"$INSTDIR\Quorim_CH.exe" /unregister'
  ExecWait '"$INSTDIR\Quorim_EN.exe" /unregister'

  Delete "$SMPROGRAMS\${PRODUCT}\Tarvolin.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Quorim 中文.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Quorim English.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  !include "${STAGE}.uninstall.nsh"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
