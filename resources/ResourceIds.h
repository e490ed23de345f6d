// Identifiers of the program's own resources, shared by the resource script and
// the code (plain macros, since the resource compiler reads this file too).
#pragma once

// String table: captions and messages of the error boxes.
#define IDS_ERROR                 8192  /* caption of start-up errors */
#define IDS_SHUTDOWN_ERROR        8193  /* caption of teardown errors */
#define IDS_CANT_CREATE_WINDOW    8194
#define IDS_REGISTER_CLASS        8195
#define IDS_RELEASE_DC_AND_RC     8196
#define IDS_RELEASE_RC            8197
#define IDS_RELEASE_DC            8198
#define IDS_RELEASE_WINDOW        8199
#define IDS_UNREGISTER_CLASS      8200
#define IDS_PROGRAM_CLOSED        8201
#define IDS_NO_DEVICE_CONTEXT     8202
#define IDS_NO_PIXEL_FORMAT       8203
#define IDS_SET_PIXEL_FORMAT      8204
#define IDS_CREATE_CONTEXT        8205
#define IDS_MAKE_CURRENT          8206
#define IDS_INIT_GL               8207
#define IDS_LOAD_TEXTURES         8208
#define IDS_INITIALIZATION        8209
#define IDS_USE_WINDOW_MODE       8210
#define IDS_LOAD_LIBRARY          8211

// The configuration dialog's picture (a JPEG, raw data).
#define IDR_CONFIG_PICTURE        291
