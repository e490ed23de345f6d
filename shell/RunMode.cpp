#include "shell/RunMode.h"

#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "common/Util.h"
#include "descriptions/ShowMsg.h"
#include "descriptions/ShowMsgWin.h"
#include "dialogs/ConfigDialog.h"
#include "model/PlanetaryModel.h"
#include "shell/MainLoop.h"
#include "shell/SaverWindow.h"
#include "shell/ShowError.h"
#include "sound/Music.h"
#include "support/Win.h"

#include <new>

std::unique_ptr<TDrawMsg> DescPanel;
std::unique_ptr<TPlanetaryModel> Model;

bool InitRunMode()
{
    RandomSeed(GetTickCount());
    QueryDesktopMode();
    LoadSettings();
    // Scaled in memory only; the stored settings keep their own values.
    Settings.Distance *= Settings.Scale;
    Settings.Sizes *= Settings.Scale;
    DescPanel = std::make_unique<TDrawMsg>();
    CreateDescPanel(*DescPanel, DataLibrary);
    // The message line runs whatever the setting says; the panel only when asked for.
    DescPanel->DescOn = DescPanel->DescOn && Settings.DescPlanet;
    // Neither needs an OpenGL context: everything that does is built with the textures.
    Model.reset(new (std::nothrow) TPlanetaryModel);
    if (Model == nullptr || !Model->Valid()) {
        Model.reset();
        ShowError("", IDS_INITIALIZATION, IDS_ERROR);
        return false;
    }
    return true;
}

namespace {
// Frees what InitRunMode made and gives the sound back, in shut-down order.
void ReleaseRunMode()
{
    Model.reset();
    // The master volume was changed for the music: StopSound gives it back.
    StopSound();
    DescPanel.reset();
}
} // namespace

void RunSaver()
{
    if (!DataLoaded || DataLibrary == nullptr || !InitRunMode()) {
        ShowError("duzidad.dll or bass.dll", IDS_LOAD_LIBRARY, IDS_ERROR);
        DescPanel.reset();
        return;
    }
    FullScreen = true;
    StartSound();

    const TSceneOpening opening = OpenSceneWindow("Astrolume", 800, 600, 32, *Model);
    if (opening != TSceneOpening::Opened) {
        // A window that stood until its textures failed was made: its own box
        // said what went wrong, and one box is all the user needs to answer.
        if (opening == TSceneOpening::WindowFailed) ShowError("", IDS_CANT_CREATE_WINDOW, IDS_ERROR);
        ReleaseRunMode();
        return;
    }
    // The music starts only now, with the window and the textures ready.
    PlayMusic();
    RunMainLoop(800, 600, 32, *Model, *DescPanel);
    ReleaseRunMode();
    if (Keys[VK_SPACE]) ShowConfigDialog();
}
