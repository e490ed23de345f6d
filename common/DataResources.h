/* The data library's contract: the ids of its raw-data resources and the version
   its ORB_GetVersion export returns. Plain macros, since the data library's
   resource script and C source read this file as well as the program. */
#pragma once

#define DATA_LIBRARY_VERSION      272

/* The texture pictures, one per texture slot, in slot order. */
#define DATA_PICTURE_GALAXY       257
#define DATA_PICTURE_MERCURY      258
#define DATA_PICTURE_VENUS        259
#define DATA_PICTURE_EARTH        260
#define DATA_PICTURE_MARS         261
#define DATA_PICTURE_JUPITER      262
#define DATA_PICTURE_SATURN       263
#define DATA_PICTURE_URANUS       264
#define DATA_PICTURE_NEPTUNE      265
#define DATA_PICTURE_PLUTO        266
#define DATA_PICTURE_SUN          267
#define DATA_PICTURE_CLOUDS       268
#define DATA_PICTURE_NUMBER_FONT  269
#define DATA_PICTURE_FONT         270
#define DATA_PICTURE_SATURN_RING  271
#define DATA_PICTURE_URANUS_RING  272
#define DATA_PICTURE_CROWN        273
#define DATA_PICTURE_PANEL        274
#define DATA_PICTURE_ORBIT        275
#define DATA_PICTURE_SIGN         276

#define DATA_PREVIEW_PICTURE      288  /* the still picture of preview mode */
#define DATA_FONT_WIDTHS          289  /* 256 bytes: the text font's glyph widths */
#define DATA_DESCRIPTIONS         290  /* the description panel's text */
#define DATA_MESSAGES             292  /* the message list */
