#pragma once
// Resource identifiers of the program's own pictures. The resource script of
// the program includes this header, and the Win32 backend loads the pictures
// by these numbers, so both name them the same way. Plain #defines: the
// resource compiler reads this file too.

// Icons. The program icon has the lowest number, so Explorer shows it as the
// executable's icon.
#define VEXMAR_ICON_PROGRAM 1
#define VEXMAR_ICON_HELP_WINDOW 2

// Bitmaps.
#define VEXMAR_BITMAP_HELP 101
#define VEXMAR_BITMAP_NEW 102
#define VEXMAR_BITMAP_OPEN 103
#define VEXMAR_BITMAP_SAVE 104
