; The Astrolume installer. scripts/dist.sh builds it with makensis, passing:
;   VERSION  "1.10"        VERSION_DOTTED  "1.10.0.0"   (from the version resource)
;   ARCH     x86 | amd64   the NSIS target; the shipped installer is x86, so that
;                          it starts on every Windows
;   BINDIR32, BINDIR64     the folders holding Astrolume.scr, duzidad.dll and
;                          bass.dll of the 32-bit and of the 64-bit build
;   TEXTDIR  the folder holding LICENSE.txt, CREDITS.txt and README.txt (CR LF)
;   ICON     the saver's icon          OUTFILE  the installer to write
;
; It installs the build Windows runs natively: on 64-bit Windows the 64-bit saver
; and its libraries, on 32-bit Windows the 32-bit ones. The saver goes into the
; system folder, where the Screen Saver settings list it. Its libraries stay in
; Program Files: bass.dll is a common name and must not be found by other
; programs' searches. The folder is recorded under HKLM\Software\Astrolume "Path",
; in the registry view of the saver, where the saver of every user of the
; machine looks before asking for its data library.

Unicode true
Target ${ARCH}-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all
!if ${ARCH} == amd64
  ; There every ${RunningX64} is true as it is compiled: its other branch is dead.
  !pragma warning disable 6012
!endif

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
; No InstallDir: .onInit chooses the folder once it knows which build goes in.

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

; The system folder the Screen Saver settings list for the saver installed here.
Var SaverFolder

; Chooses the build for this Windows: its system folder and its registry view.
!macro UseNativeBuild
  ${If} ${RunningX64}
    SetRegView 64
    StrCpy $SaverFolder "$WINDIR\System32"
  ${Else}
    StrCpy $SaverFolder $SYSDIR
  ${EndIf}
!macroend

; NOTE: 64-bit Windows shows a 32-bit program SysWOW64 in place of System32
; until it turns file-system redirection off. That switch is per thread, and the
; sections run on a thread of their own: each section that touches the saver
; turns it off and on again, and nothing else runs in between.
!macro SaverFolderBegin
  ${If} ${IsWow64}
    ${DisableX64FSRedirection}
  ${EndIf}
!macroend
!macro SaverFolderEnd
  ${If} ${IsWow64}
    ${EnableX64FSRedirection}
  ${EndIf}
!macroend

!macro InstallBuild BINDIR
  SetOutPath "$INSTDIR"
  File "${BINDIR}\duzidad.dll"
  File "${BINDIR}\bass.dll"
  SetOutPath "$SaverFolder"
  File "${BINDIR}\Astrolume.scr"
!macroend

Section "-Program files"
  SetOutPath "$INSTDIR"
  File "${TEXTDIR}\LICENSE.txt"
  File "${TEXTDIR}\CREDITS.txt"
  File "${TEXTDIR}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  !insertmacro SaverFolderBegin
  ${If} ${RunningX64}
    !insertmacro InstallBuild "${BINDIR64}"
  ${Else}
    !insertmacro InstallBuild "${BINDIR32}"
  ${EndIf}
  ${GetSize} "$SaverFolder" "/M=Astrolume.scr /S=0K /G=0" $4 $2 $3
  !insertmacro SaverFolderEnd
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
  IntOp $0 $0 + $4
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Use Astrolume as my screen saver" UseAsSaver
  ; As Windows' own Install verb writes it: the short form of the path.
  !insertmacro SaverFolderBegin
  GetFullPathName /SHORT $0 "$SaverFolder\Astrolume.scr"
  !insertmacro SaverFolderEnd
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
SectionEnd

Section "un.Program files"
  SectionIn RO
  !insertmacro SaverFolderBegin
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
  !insertmacro SaverFolderEnd

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
  !insertmacro UseNativeBuild
  ; An upgrade goes where the previous version went; /D= chooses another folder.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR HKLM "${MACHINE_KEY}" "Path"
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    ${If} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

; A silent uninstall removes the settings too when given /REMOVESETTINGS.
Function un.onInit
  !insertmacro UseNativeBuild
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${RemoveSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
