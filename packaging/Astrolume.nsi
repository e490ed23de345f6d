; The Astrolume installer. scripts/dist.sh builds it with makensis, passing:
;   VERSION  "1.10"        VERSION_DOTTED  "1.10.0.0"   (from the version resource)
;   ARCH     x86 | amd64   the NSIS target; the shipped installer is x86
;   BINDIR   the folder holding Astrolume.scr, duzidad.dll and bass.dll
;   TEXTDIR  the folder holding LICENSE.txt, CREDITS.txt and README.txt (CR LF)
;   ICON     the saver's icon          OUTFILE  the installer to write
;
; The saver goes into the system folder, where the Screen Saver settings list it
; (the 32-bit one on 64-bit Windows). Its libraries stay in Program Files:
; bass.dll is a common name and must not be found by other programs' searches.
; The folder is recorded under HKLM\Software\Astrolume "Path", where the saver of
; every user of the machine looks before asking for its data library.

Unicode true
Target ${ARCH}-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Astrolume"
!define PUBLISHER "The Astrolume developers"
!define MACHINE_KEY "Software\Astrolume"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Astrolume"
!define SETTINGS_KEY "Software\Vorsk\Astrolume"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!if ${ARCH} == amd64
InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; An upgrade goes where the previous version went.
InstallDirRegKey HKLM "${MACHINE_KEY}" "Path"

VIProductVersion "${VERSION_DOTTED}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION_DOTTED}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${TEXTDIR}\LICENSE.txt"
!define MUI_PAGE_HEADER_TEXT "Imagery credits"
!define MUI_PAGE_HEADER_SUBTEXT "Where the planet pictures come from."
!define MUI_LICENSEPAGE_TEXT_TOP "The pictures in duzidad.dll are used under these terms."
!define MUI_LICENSEPAGE_TEXT_BOTTOM " "
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${TEXTDIR}\CREDITS.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The system folder the Screen Saver settings list for this build's saver.
Var SaverFolder

!macro FindSaverFolder
  StrCpy $SaverFolder $SYSDIR
  !if ${ARCH} == x86
    ; NOTE: a 32-bit process asking for $SYSDIR is redirected to SysWOW64 on 64-bit
    ; Windows; the name stored in SCRNSAVE.EXE must be the one 64-bit Windows sees.
    ${If} ${RunningX64}
      StrCpy $SaverFolder "$WINDIR\SysWOW64"
    ${EndIf}
  !else
    SetRegView 64
  !endif
!macroend

Section "-Program files"
  SetOutPath "$INSTDIR"
  File "${BINDIR}\duzidad.dll"
  File "${BINDIR}\bass.dll"
  File "${TEXTDIR}\LICENSE.txt"
  File "${TEXTDIR}\CREDITS.txt"
  File "${TEXTDIR}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$SaverFolder"
  File "${BINDIR}\Astrolume.scr"
  SetOutPath "$INSTDIR"

  WriteRegStr HKLM "${MACHINE_KEY}" "Path" "$INSTDIR"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SaverFolder\Astrolume.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SaverFolder" "/M=Astrolume.scr /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Use Astrolume as my screen saver" UseAsSaver
  ; As Windows' own Install verb writes it: the short form of the path.
  GetFullPathName /SHORT $0 "$SaverFolder\Astrolume.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
SectionEnd

Section "un.Program files"
  SectionIn RO
  ; Only while it still names our saver: another saver chosen since stays.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$SaverFolder\Astrolume.scr"
  ${If} $0 != ""
    ${If} $0 == $1
    ${OrIf} $0 == "$SaverFolder\Astrolume.scr"
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
  ${EndIf}

  Delete "$SaverFolder\Astrolume.scr"
  Delete "$INSTDIR\duzidad.dll"
  Delete "$INSTDIR\bass.dll"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\CREDITS.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegValue HKLM "${MACHINE_KEY}" "Path"
  DeleteRegKey /IfEmpty HKLM "${MACHINE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Also remove my settings" RemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /IfEmpty HKCU "Software\Vorsk"
SectionEnd

Function .onInit
  !insertmacro FindSaverFolder
FunctionEnd

; A silent uninstall removes the settings too when given /REMOVESETTINGS.
Function un.onInit
  !insertmacro FindSaverFolder
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${RemoveSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
