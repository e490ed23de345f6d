; The Astrolume installer, for 64-bit (x64) Windows. scripts/dist.sh builds it with
; makensis, passing:
;   VERSION  "1.10"        VERSION_DOTTED  "1.10.0.0"   (from the version resource)
;   INSTALLED_KB  what the installed files take, for the pages' "Space required"
;   BINDIR   the folder holding the 64-bit Astrolume.scr, duzidad.dll and bass.dll
;   TEXTDIR  the folder holding LICENSE.txt, CREDITS.txt and README.txt (CR LF)
;   ICON     the saver's icon          OUTFILE  the installer to write
;
; The saver goes into System32, where the Screen Saver settings of every user list
; it. Its libraries stay in Program Files: bass.dll is a common name and must not be
; found by other programs' searches. That folder is recorded under
; HKLM\Software\Astrolume "Path", where every user's saver looks before asking for
; its data library.
;
; Two processes, one file. The installer the user starts keeps the user's own rights
; (RequestExecutionLevel user): it shows the pages and, at the end, does the per-user
; step (choosing the saver and telling Windows at once). For the files and the
; machine-wide keys it starts itself again through the system's elevation prompt
; (ShellExecuteEx "runas", with /MACHINESTEP) and waits for that copy's exit code.
; So when a standard user types an administrator's password, the administrator's
; rights install the files while the saver is still set for the user who started
; setup. Stock NSIS cannot hand a step from an elevated process back to the user's
; token (the UAC and ShellExecAsUser plug-ins are not part of it), and starting a
; helper through "explorer.exe <helper>" can neither wait for it, nor give it
; arguments, nor learn whether it worked. The uninstaller is built the same way.
;
; Exit codes, silent or not:
;   0     done
;   3010  done; files that were in use (a saver running) go when Windows restarts
;   1     cancelled by the user
;   2     failed, with a message unless silent: not x64 Windows, no administrator
;         rights, files of the installed version held open (nothing is changed
;         then), an unknown /SAVER= value, or the installed saver missing afterwards

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all
; A file that cannot be written stops the machine step (and so rolls it back)
; instead of being skipped in silence.
AllowSkipFiles off

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include x64.nsh

!define PRODUCT "Astrolume"
!define PUBLISHER "The Astrolume developers"
!define MACHINE_KEY "Software\Astrolume"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Astrolume"
!define SETTINGS_KEY "Software\Vorsk\Astrolume"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SAVER "$SYSDIR\Astrolume.scr"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3  ; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
; Exit codes of the machine step, read by the process that started it.
!define STEP_NOT_ADMIN 10
!define STEP_FILES_HELD 11
!define ERROR_CANCELLED 1223
; The predefined key as a 64-bit handle value (sign-extended) for System calls.
!define HKLM_VALUE -2147483646
!define SESSION_MANAGER_KEY "SYSTEM\CurrentControlSet\Control\Session Manager"
!define PENDING_VALUE "PendingFileRenameOperations"
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; No InstallDir: .onInit chooses the folder, the existing one on an upgrade.

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
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var MachineStep  ; "1" in the elevated copy that installs or removes the files
Var Upgrade      ; "1" when a previous install is in $INSTDIR
Var SaverShort   ; the installed saver's short path, as Windows' Install verb writes it
Var Moved        ; how many "target, old copy" pairs MoveAside has left on the stack

; --- Both processes ----------------------------------------------------------

!macro SHARED un
; Starts this program again through the elevation prompt with the parameters on
; the stack, waits for it and leaves its exit code on the stack; "" when it did
; not start, with the system's error number in $R9.
Function ${un}RunElevated
  Exch $R0
  Push $R1
  Push $R2
  StrCpy $R2 $EXEPATH
  ; SHELLEXECUTEINFOW with SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI,
  ; padded as the x64 layout has it.
  System::Call '*(i 112, i 0x540, p $HWNDPARENT, w "runas", w R2, w R0, p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0)p.R1'
  System::Call 'shell32::ShellExecuteExW(p R1)i.R2 ?e'
  Pop $R9
  StrCpy $R0 ""
  ${If} $R2 <> 0
    System::Call '*$R1(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .R2)'
    ${If} $R2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p R2, i -1)'
      System::Call 'kernel32::GetExitCodeProcess(p R2, *i .R0)'
      System::Call 'kernel32::CloseHandle(p R2)'
    ${EndIf}
  ${EndIf}
  System::Free $R1
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd

; The machine step's verdict as the process the user started reports it: a message
; and exit code 2 on failure, which ends the install there; 3010 passed on.
; In: $R0 the step's exit code ("" when it did not start), $R9 the start error.
Function ${un}ReportMachineStep
  ${If} $R0 == 0
    Return
  ${ElseIf} $R0 == ${ERROR_SUCCESS_REBOOT_REQUIRED}
    DetailPrint "Files that were in use go when Windows restarts."
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
    Return
  ${ElseIf} $R0 == ""
  ${AndIf} $R9 == ${ERROR_CANCELLED}
    StrCpy $R1 "${PRODUCT} needs administrator rights, and they were not given. Nothing was changed."
  ${ElseIf} $R0 == ""
    StrCpy $R1 "Setup could not ask for administrator rights (error $R9). Nothing was changed."
  ${ElseIf} $R0 == ${STEP_NOT_ADMIN}
    StrCpy $R1 "${PRODUCT} needs administrator rights, and the account that confirmed has none. Nothing was changed."
  ${ElseIf} $R0 == ${STEP_FILES_HELD}
    StrCpy $R1 "A file of the installed ${PRODUCT} is held open by another program. Close it, or restart Windows, and try again. Nothing was changed."
  ${Else}
    StrCpy $R1 "The files could not be changed (error $R0)."
  ${EndIf}
  DetailPrint $R1
  MessageBox MB_ICONSTOP|MB_OK $R1 /SD IDOK
  SetErrorLevel 2
  Abort
FunctionEnd

; Frees the name $R0 by moving the file away under a fresh name, in $TEMP where it
; can go (so its folder can be removed) or else beside it. A running saver or a
; loaded library keeps working from the moved file, which Windows allows where it
; refuses to overwrite or delete it. $R1 receives the new name, "" when there was
; no file; the error flag is set when the file is held open without leave to move.
Function ${un}MoveAside
  StrCpy $R1 ""
  ClearErrors
  ${IfNot} ${FileExists} $R0
    Return
  ${EndIf}
  GetTempFileName $R1
  Delete $R1
  ClearErrors
  Rename $R0 $R1
  ${If} ${Errors}
    ; NOTE: a rename cannot cross volumes; beside the file it always stays on one.
    ${GetParent} $R0 $R1
    GetTempFileName $R1 $R1
    Delete $R1
    ClearErrors
    Rename $R0 $R1
    ${If} ${Errors}
      StrCpy $R1 ""
      SetErrors
    ${EndIf}
  ${EndIf}
FunctionEnd

; True ($R1 = "1") when the per-user saver value $R0 names the installed saver, in
; its long or its short form.
Function ${un}NamesOurSaver
  StrCpy $R1 ""
  ${If} $R0 == "${SAVER}"
  ${OrIf} $R0 == $SaverShort
    ${If} $R0 != ""
      StrCpy $R1 1
    ${EndIf}
  ${EndIf}
FunctionEnd

; The switches common to both: the x64 check and which process this is.
Function ${un}StartUp
  ${IfNot} ${IsNativeAMD64}
    MessageBox MB_ICONSTOP|MB_OK "This installer is for 64-bit (x64) Windows. On other Windows, use the 32-bit folder of ${PRODUCT}-${VERSION}-portable.zip." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/MACHINESTEP" $R1
  ${IfNot} ${Errors}
    StrCpy $MachineStep 1
    ; NOTE: RequestExecutionLevel is only a request: an account without
    ; administrator rights gets here too when elevation is off.
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      SetErrorLevel ${STEP_NOT_ADMIN}
      Quit
    ${EndIf}
  ${EndIf}
  GetFullPathName /SHORT $SaverShort "${SAVER}"
FunctionEnd
!macroend
!insertmacro SHARED ""
!insertmacro SHARED "un."

; --- Install -------------------------------------------------------------------

; The elevated copy. Moves every file it replaces aside first, so that nothing is
; half replaced: when one cannot be moved, those moved go back and nothing changed;
; when a new file cannot be written, .onInstFailed puts the old set back.
!macro Replace FOLDER NAME
  StrCpy $R0 "${FOLDER}\${NAME}"
  Call ForgetPendingDelete
  Call MoveAside
  ${If} ${Errors}
    DetailPrint "Held open: $R0"
    Call PutBackMoved
    SetErrorLevel ${STEP_FILES_HELD}
    Quit
  ${EndIf}
  Push $R0
  Push $R1
  IntOp $Moved $Moved + 1
!macroend

; Takes the file $R0 off the list of deletes Windows does at restart. The quiet
; uninstaller, run in place, cannot remove its own file and leaves such a delete
; behind; an install made before that restart must not lose its own file to it.
; Uses $0-$9 and $R9.
Function ForgetPendingDelete
  System::Call 'advapi32::RegOpenKeyExW(p ${HKLM_VALUE}, w "${SESSION_MANAGER_KEY}", i 0, i 3, *p .r0)i.r1'
  ${If} $1 <> 0
    Return
  ${EndIf}
  System::Call 'advapi32::RegQueryValueExW(p r0, w "${PENDING_VALUE}", p 0, *i .r2, p 0, *i .r3)i.r1'
  ${If} $1 = 0
  ${AndIf} $2 = 7 ; REG_MULTI_SZ: pairs of names, a delete's second one empty
    ; Zeroed, with room for closing nuls the stored list might lack.
    IntOp $3 $3 + 8
    System::Alloc $3
    Pop $4
    System::Alloc $3
    Pop $5
    System::Call 'advapi32::RegQueryValueExW(p r0, w "${PENDING_VALUE}", p 0, p 0, p r4, *i r3)i.r1'
    StrCpy $6 $4 ; the pair read
    StrCpy $7 $5 ; where the next pair kept goes
    StrCpy $9 0  ; pairs dropped
    ${Do}
      System::Call 'kernel32::lstrlenW(p r6)i.r1'
      ${If} $1 = 0
        ${ExitDo}
      ${EndIf}
      IntOp $1 $1 + 1
      IntOp $1 $1 * 2
      IntPtrOp $2 $6 + $1
      System::Call 'kernel32::lstrlenW(p r2)i.R9'
      IntOp $1 $R9 + 1
      IntOp $1 $1 * 2
      IntPtrOp $8 $2 + $1
      System::Call 'kernel32::lstrcmpiW(p r6, w "\??\$R0")i.r1'
      ${If} $1 = 0
      ${AndIf} $R9 = 0
        IntOp $9 $9 + 1
      ${Else}
        IntPtrOp $1 $8 - $6
        System::Call 'ntdll::RtlMoveMemory(p r7, p r6, p r1)'
        IntPtrOp $7 $7 + $1
      ${EndIf}
      StrCpy $6 $8
    ${Loop}
    IntPtrOp $1 $7 - $5
    ${If} $9 = 0
    ${ElseIf} $1 = 0
      System::Call 'advapi32::RegDeleteValueW(p r0, w "${PENDING_VALUE}")'
    ${Else}
      IntOp $1 $1 + 2
      System::Call 'advapi32::RegSetValueExW(p r0, w "${PENDING_VALUE}", i 0, i 7, p r5, i r1)'
    ${EndIf}
    System::Free $4
    System::Free $5
  ${EndIf}
  System::Call 'advapi32::RegCloseKey(p r0)'
FunctionEnd

Function PutBackMoved
  ${DoWhile} $Moved > 0
    Pop $R1
    Pop $R0
    Delete $R0
    ${If} $R1 != ""
      Rename $R1 $R0
    ${EndIf}
    IntOp $Moved $Moved - 1
  ${Loop}
FunctionEnd

Function .onInstFailed
  ${If} $MachineStep == 1
    Call PutBackMoved
  ${EndIf}
FunctionEnd

Function InstallMachineWide
  StrCpy $Moved 0
  CreateDirectory "$INSTDIR"
  !insertmacro Replace "$SYSDIR" "Astrolume.scr"
  !insertmacro Replace "$INSTDIR" "duzidad.dll"
  !insertmacro Replace "$INSTDIR" "bass.dll"
  !insertmacro Replace "$INSTDIR" "LICENSE.txt"
  !insertmacro Replace "$INSTDIR" "CREDITS.txt"
  !insertmacro Replace "$INSTDIR" "README.txt"
  !insertmacro Replace "$INSTDIR" "uninstall.exe"

  SetOutPath "$INSTDIR"
  File "${BINDIR}\duzidad.dll"
  File "${BINDIR}\bass.dll"
  File "${TEXTDIR}\LICENSE.txt"
  File "${TEXTDIR}\CREDITS.txt"
  File "${TEXTDIR}\README.txt"
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    Abort
  ${EndIf}
  ; The saver last: it shows in the Screen Saver settings only with its libraries there.
  SetOutPath "$SYSDIR"
  File "${BINDIR}\Astrolume.scr"
  SetOutPath "$INSTDIR"

  ; Every file is in place: the old copies go now, or at restart while in use.
  ${DoWhile} $Moved > 0
    Pop $R1
    Pop $R0
    ${If} $R1 != ""
      Delete /REBOOTOK $R1
    ${EndIf}
    IntOp $Moved $Moved - 1
  ${Loop}

  WriteRegStr HKLM "${MACHINE_KEY}" "Path" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SAVER},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  ; Run in place (_?=), the uninstaller does its work before it returns; started
  ; plainly it hands over to a copy of itself in %TEMP% and returns at once.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$SYSDIR" "/M=Astrolume.scr /S=0K /G=0" $R0 $R1 $R2
  ${GetSize} "$INSTDIR" "/S=0K" $R3 $R1 $R2
  IntOp $R0 $R0 + $R3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $R0

  IfRebootFlag 0 +2
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
FunctionEnd

Section "-Program files"
  ; The files are written by the elevated copy, so the pages cannot count them.
  AddSize ${INSTALLED_KB}
  ${If} $MachineStep == 1
    Call InstallMachineWide
  ${Else}
    DetailPrint "Installing the files for every user of this computer..."
    Push "/S /MACHINESTEP /D=$INSTDIR"
    Call RunElevated
    Pop $R0
    Call ReportMachineStep
  ${EndIf}
SectionEnd

; The per-user step, in the process the user started, so in the user's own HKCU.
Section "Use Astrolume as my screen saver" UseAsSaver
  ; As Windows' own Install verb writes it: the short form. Empty means the saver is
  ; not there (taken away since, or never written): no value naming nothing.
  GetFullPathName /SHORT $R0 "${SAVER}"
  ${If} $R0 == ""
    StrCpy $R1 "The installed saver is missing, so your screen saver was not changed."
    DetailPrint $R1
    MessageBox MB_ICONEXCLAMATION|MB_OK $R1 /SD IDOK
    SetErrorLevel 2
    Return
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $R0
  ; Tells Windows now, not at the next sign-in; it stores ScreenSaveActive itself.
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})i.R1'
  ${If} $R1 = 0
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ${EndIf}
SectionEnd

Function SkipFolderOnUpgrade
  ${If} $Upgrade == 1
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  Call StartUp
  ; An upgrade goes where the previous version is, whatever /D= says: another
  ; folder would leave that one and its uninstaller behind.
  ReadRegStr $R1 HKLM "${MACHINE_KEY}" "Path"
  ${If} $R1 != ""
  ${AndIf} ${FileExists} "$R1\uninstall.exe"
    StrCpy $INSTDIR $R1
    StrCpy $Upgrade 1
  ${ElseIf} $INSTDIR == ""
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
  ${EndIf}
  ${If} $MachineStep == 1
    !insertmacro UnselectSection ${UseAsSaver}
    Return
  ${EndIf}

  ; Astrolume becomes the user's saver when asked (/SAVER=1, or the box ticked), and
  ; unasked only on a first install for a user with no saver or ours already: an
  ; upgrade never takes back another saver the user chose.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SAVER=" $R1
  ${If} ${Errors}
    ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    Call NamesOurSaver
    ${If} $Upgrade == 1
      !insertmacro UnselectSection ${UseAsSaver}
    ${ElseIf} $R0 != ""
    ${AndIf} $R1 != 1
      !insertmacro UnselectSection ${UseAsSaver}
    ${EndIf}
  ${ElseIf} $R1 == 0
    !insertmacro UnselectSection ${UseAsSaver}
  ${ElseIf} $R1 != 1
    MessageBox MB_ICONSTOP|MB_OK "/SAVER= takes 1 (make Astrolume your screen saver) or 0 (leave it)." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; --- Uninstall -----------------------------------------------------------------

; Removes a file now, or at restart while it is in use; moved aside first, so its
; name (the saver in the Screen Saver list, the folder) is gone at once.
!macro Remove FILE
  StrCpy $R0 "${FILE}"
  Call un.MoveAside
  ${If} $R1 != ""
    Delete /REBOOTOK $R1
  ${Else}
    Delete /REBOOTOK $R0
  ${EndIf}
!macroend

Function un.RemoveMachineWide
  ; The saver first, so that it leaves the Screen Saver list before its libraries go.
  !insertmacro Remove "${SAVER}"
  !insertmacro Remove "$INSTDIR\duzidad.dll"
  !insertmacro Remove "$INSTDIR\bass.dll"
  !insertmacro Remove "$INSTDIR\LICENSE.txt"
  !insertmacro Remove "$INSTDIR\CREDITS.txt"
  !insertmacro Remove "$INSTDIR\README.txt"
  ; NOTE: run in place (the quiet form), the uninstaller holds its own file open
  ; without leave to move it, so that file and the folder go at restart. That is
  ; no reason to report a restart: the rest is done.
  StrCpy $R5 ""
  IfRebootFlag 0 +2
    StrCpy $R5 1
  !insertmacro Remove "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  ${If} $R5 == ""
    SetRebootFlag false
  ${EndIf}

  DeleteRegValue HKLM "${MACHINE_KEY}" "Path"
  DeleteRegKey /IfEmpty HKLM "${MACHINE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  IfRebootFlag 0 +2
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
FunctionEnd

Section "un.Program files"
  SectionIn RO
  ${If} $MachineStep == 1
    Call un.RemoveMachineWide
    Return
  ${EndIf}
  Push "/S /MACHINESTEP _?=$INSTDIR"
  Call un.RunElevated
  Pop $R0
  Call un.ReportMachineStep
  ; The user's own choice, in the process the user started: a saver value naming
  ; the removed file would leave Windows with a saver that is not there.
  ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call un.NamesOurSaver
  ${If} $R1 == 1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})'
  ${EndIf}
SectionEnd

Section /o "un.Also remove my settings" RemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /IfEmpty HKCU "Software\Vorsk"
SectionEnd

; A silent uninstall removes the settings too when given /REMOVESETTINGS.
Function un.onInit
  Call un.StartUp
  ${If} $MachineStep == 1
    Return
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${RemoveSettings}
  ${EndIf}
FunctionEnd
