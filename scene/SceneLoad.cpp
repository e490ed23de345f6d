#include "scene/SceneLoad.h"

#include "common/DataLibrary.h"
#include "model/PlanetaryModel.h"
#include "textures/Fonts.h"
#include "textures/Texture.h"

bool LoadScene(TPlanetaryModel& model, const std::function<void()>& betweenPictures)
{
    if (!LoadTextures(betweenPictures)) return false;
    BuildFontLists(DataLibrary, Textures);
    model.BuildLists(Textures);
    return true;
}
