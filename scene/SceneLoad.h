// What a new rendering context needs before its first frame, each part made
// over the one before: the texture set, the glyph lists over the font
// textures, then the model's lists over the others.
#pragma once

#include <functional>

class TPlanetaryModel;

// Loads the texture set into the current context, then builds the font lists
// and `model`'s display lists over it. False, with nothing built, when the
// textures fail. `betweenPictures` runs while the pictures load, as for LoadTextures.
bool LoadScene(TPlanetaryModel& model, const std::function<void()>& betweenPictures);
