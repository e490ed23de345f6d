#include "common/Commons.h"

std::uint32_t Textures[TextureCount] = {};
