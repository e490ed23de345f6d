#include "common/Commons.h"

TTextureNames Textures = {};
