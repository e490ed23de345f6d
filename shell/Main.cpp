// Process entry: the work done before any mode runs, the dispatch on the mode
// letter of the command line, and the end of the process.

#include "shell/Main.h"

#include "common/DataLibrary.h"
#include "common/Util.h"
#include "dialogs/ConfigDialog.h"
#include "shell/CommandLine.h"
#include "shell/Password.h"
#include "shell/Preview.h"
#include "shell/RunMode.h"
#include "support/Com.h"
#include "support/UrlLabel.h"

int SaverMain()
{
    // The shell's folder browser and the OLE picture loader both need COM on
    // this thread, the only one that uses them.
    ComApartment com;
    RegisterUrlLabelClass();
    const std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
    const SaverMode mode = SelectMode(arguments);
    // The folder dialog is for a user who opened the saver: the preview starts
    // each time the saver is picked in the settings, where a dialog would open
    // behind the settings window, and the password dialog needs no library.
    DataLoaded = LocateDataLibrary(DataLibraryName, mode == SaverMode::Run || mode == SaverMode::Configure);
    DecimalSeparator = '.';

    // Windows hands over 32-bit handles, sign-extended in a 64-bit program.
    const auto handle = [](std::int32_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); };
    switch (mode) {
    case SaverMode::Configure: ShowConfigDialog(handle(ConfigOwnerArgument(arguments))); break;
    case SaverMode::Run: RunSaver(); break;
    case SaverMode::Preview: ShowPreview(handle(WindowHandleArgument(arguments))); break;
    case SaverMode::Password: ChangePassword(handle(WindowHandleArgument(arguments))); break;
    case SaverMode::None: break;
    }

    ReleaseDataLibrary();
    UnregisterUrlLabelClass();
    return 0;
}
