// Resource ids of the program's icons and pictures.
#pragma once

#define IDI_TAVRO 1
// The program's icon while a recording runs.
#define IDI_RECORDING 2

// Toolbar and menu pictures, one icon file each (16 x 16 and 32 x 32 images).
#define IDI_RETRY 101
#define IDI_SAVE 102
#define IDI_COPY 103
#define IDI_ROTATE 104
#define IDI_POWERPOINT 105
#define IDI_WORD 106
#define IDI_EXCEL 107
#define IDI_PROGRAM 108
#define IDI_MAIL 109
#define IDI_PRINT 110
#define IDI_ROTATE_CCW 111
#define IDI_MIRROR 112
#define IDI_DATESTAMP 113
#define IDI_UNDATESTAMP 114
#define IDI_CLOSE 115
#define IDI_SETTINGS 116
#define IDI_PICKCOLOR 117
#define IDI_HELP 118
#define IDI_ABOUT 119
#define IDI_SHAPES 120
#define IDI_OK 121
