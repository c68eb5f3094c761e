#pragma once
// Saving the chart as a picture file (.bmp or .png), written whole or not at all.
#include <string>

#include "graphs/TCanvas.h"
#include "model/SafeFile.h"

namespace veltra {

// "BMP" or "PNG" from the extension of `path` (any case); "" for any other.
std::string PictureFormat(const std::string& path);

// Encodes the canvas's picture in memory and writes it through the safe writer: a
// failure (a full disk, /dev/full, a folder) leaves no part of a picture and an
// earlier file as it was. Throws TVeltraError: Usage for an extension other than
// .bmp or .png, File when the picture cannot be encoded or written (TFolderError
// for a folder).
void SaveChartPicture(TCanvas& canvas, const std::string& path, TFileSystem& fs = RealFileSystem());

} // namespace veltra
