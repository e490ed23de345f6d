/* The implementations of the stb single-file libraries the generators use. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO_WARNINGS
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
#define STB_PERLIN_IMPLEMENTATION
#include <stb_perlin.h>
#undef L
#undef C
#undef R
#include <stb_vorbis.h>
