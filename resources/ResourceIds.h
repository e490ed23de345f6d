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

// Configuration dialog and its controls.
#define IDD_CONFIG                1024
#define IDC_RESTORE_DEFAULTS      1025
#define IDC_SETTING_OPTIONS       1026
#define IDC_OPTIONS_GROUP         1027  /* first of the option controls */
#define IDC_QUALITY_LABEL         1028
#define IDC_QUALITY               1029
#define IDC_CAM_DISTANCE_LABEL    1030
#define IDC_CAM_DISTANCE          1031
#define IDC_FACTORS_GROUP         1032
#define IDC_SCALE_LABEL           1033
#define IDC_SCALE                 1034
#define IDC_SPEED_LABEL           1035
#define IDC_SPEED                 1036
#define IDC_DISTANCE_LABEL        1037
#define IDC_DISTANCE              1038
#define IDC_SIZES_LABEL           1039
#define IDC_SIZES                 1040
#define IDC_CAM_ROTATION_LABEL    1041
#define IDC_CAM_ROTATION          1042
#define IDC_FPS_MOUSE_GROUP       1043
#define IDC_FPS                   1044
#define IDC_DESC_PLANET           1045
#define IDC_MOUSE_MOVE            1046
#define IDC_SOUND_GROUP           1047
#define IDC_VOLUME_LABEL          1048
#define IDC_VOLUME                1049
#define IDC_SOUND                 1050
#define IDC_TIME_GROUP            1051
#define IDC_CLOCK                 1052
#define IDC_CLOCK_SHORT           1053
#define IDC_CLOCK_FULL            1054  /* last of the option controls */
#define IDC_ABOUT                 1055
#define IDC_PICTURE               1056
#define IDC_SMOOTH_EDGES          1057  /* first of the later option controls */
#define IDC_TODAYS_SKY            1058  /* last of the later option controls */

// About dialog and its controls.
#define IDD_ABOUT                 768
#define IDC_ABOUT_TITLE           769
#define IDC_ABOUT_VERSION         770
#define IDC_ABOUT_MAIL            771
#define IDC_ABOUT_WEB             772
#define IDC_ABOUT_MAIL2           773

// Run mode: the saver window's icon and the texture-loading wait dialog.
#define IDI_SAVER                 336
#define IDD_WAIT                  512
