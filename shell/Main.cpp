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
    DataLoaded = LocateDataLibrary(DataLibraryName);
    DecimalSeparator = '.';

    const std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
    const HWND handle = reinterpret_cast<HWND>(static_cast<INT_PTR>(WindowHandleArgument(arguments)));
    switch (SelectMode(arguments)) {
    case SaverMode::Configure: ShowConfigDialog(); break;
    case SaverMode::Run: RunSaver(); break;
    case SaverMode::Preview: ShowPreview(handle); break;
    case SaverMode::Password: ChangePassword(handle); break;
    case SaverMode::None: break;
    }

    ReleaseDataLibrary();
    UnregisterUrlLabelClass();
    return 0;
}
