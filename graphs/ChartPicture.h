#pragma once
// Saving the chart as a picture file, written whole or not at all: a bitmap (.bmp,
// .png) of 762 x 486 pixels, or the same drawing as vectors for reports (.svg, .pdf).
#include <string>

#include "graphs/TCanvas.h"
#include "model/SafeFile.h"

namespace veltra {

// The start of the refusal of any other extension; the path follows.
extern const char* const PictureExtensionsMessage;

// "BMP", "PNG", "SVG" or "PDF" from the extension of `path` (any case); "" for any other.
std::string PictureFormat(const std::string& path);

// Encodes the canvas's picture in memory and writes it through the safe writer: a
// failure (a full disk, /dev/full, a folder) leaves no part of a picture and an
// earlier file as it was. Throws TVeltraError: Usage for an extension other than
// those four, File when the picture cannot be encoded or written (TFolderError
// for a folder, TReadOnlyError for a read-only file).
void SaveChartPicture(TCanvas& canvas, const std::string& path, TFileSystem& fs = RealFileSystem());

} // namespace veltra
