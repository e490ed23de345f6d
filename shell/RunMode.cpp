#include "shell/RunMode.h"

#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "common/Util.h"
#include "dialogs/ConfigDialog.h"
#include "shell/SaverWindow.h"
#include "shell/ShowError.h"
#include "support/Streams.h"
#include "support/Win.h"

bool FullScreen = false;
bool SoundReady = false;
std::uint32_t MusicStream = 0;
double SavedVolume = 0.0;
TMemoryStream* MusicData = nullptr;

bool InitRunMode()
{
    RandomSeed(GetTickCount());
    QueryDesktopMode();
    LoadSettings();
    // Scaled in memory only; the stored settings keep their own values.
    Settings.Distance *= Settings.Scale;
    Settings.Sizes *= Settings.Scale;
    // The description panel and the planetary model join here as they are
    // built; neither needs an OpenGL context.
    return true;
}

void StartSound()
{
    SoundReady = false;
    // The sound library is looked for in DataPath once its loader exists; until
    // then the saver runs silently, which is also its behaviour without bass.dll.
}

void RunSaver()
{
    if (!DataLoaded || DataLibrary == nullptr || !InitRunMode()) {
        ShowError("duzidad.dll or bass.dll", IDS_LOAD_LIBRARY, IDS_ERROR);
        return;
    }
    FullScreen = true;
    StartSound();

    // The scene window and the main loop come next; without them run mode has
    // nothing to show and shuts down.

    if (Keys[' ']) ShowConfigDialog();
}
