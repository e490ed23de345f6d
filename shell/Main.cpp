// Process entry: the work done before any mode runs, the dispatch on the mode
// letter of the command line, and the end of the process.

#include "shell/Main.h"

#include "common/DataLibrary.h"
#include "common/Util.h"
#include "dialogs/ConfigDialog.h"
#include "shell/CommandLine.h"
#include "shell/Preview.h"
#include "shell/RunMode.h"
#include "support/UrlLabel.h"
#include "support/Win.h"

namespace {
std::vector<std::string> Arguments;
}

const std::vector<std::string>& CommandArguments() { return Arguments; }

void ModuleShutdown()
{
    ReleaseDataLibrary();
    UnregisterUrlLabelClass();
}

void EndProcess()
{
    ModuleShutdown();
    ExitProcess(0);
}

int SaverMain()
{
    RegisterUrlLabelClass();
    DataLoaded = LocateDataLibrary(DataLibraryName);
    DecimalSeparator = '.';

    Arguments = SplitCommandLine(GetCommandLineA());
    switch (SelectMode(Arguments)) {
    case SaverMode::Configure: ShowConfigDialog(); break;
    case SaverMode::Run: RunSaver(); break;
    case SaverMode::Preview: ShowPreview(); break;
    case SaverMode::Password: ChangePassword(); break;
    case SaverMode::None: break;
    }

    ModuleShutdown();
    return 0;
}
