#pragma once
// Fonts for printed pages, sized in device pixels of the printer.

#include <QFont>
#include <optional>
#include <string>

class QPaintDevice;

// The face (Windows-1252 name) at pixelHeight device pixels, or nothing when no such font can
// be made: a height below one pixel, or no font file to draw with.
std::optional<QFont> createPrintFont(const std::string& face, int pixelHeight,
                                     const QPaintDevice& device, bool bold = false);
