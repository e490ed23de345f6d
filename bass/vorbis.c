/* The Ogg Vorbis decoder, compiled once from Debian's libstb-dev. */
#define STB_VORBIS_NO_STDIO 1
#include <stb_vorbis.h>
