#pragma once
// The pictures of the file viewers, drawn by res/make_icons.py: the eight button-bar icons
// (32 x 32), the channel bitmaps of the table headers and the table's row icon (16 x 16).

#include <QPixmap>

enum class BarIcon { SaveAs, CopyTable, CopyGraph, ZoomIn, ZoomOut, GraphSettings, Export, Print };

QPixmap barIcon(BarIcon icon);
// Channel k's header bitmap (0..12); a null pixmap for any other k.
QPixmap channelBitmap(int channel);
QPixmap rowIcon();
