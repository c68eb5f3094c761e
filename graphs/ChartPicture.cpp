#include "graphs/ChartPicture.h"

#include <algorithm>
#include <cctype>

#include "model/TVeltraError.h"

namespace veltra {

const char* const PictureExtensionsMessage = "the picture file must end in .bmp, .png, .svg or .pdf: ";

std::string PictureFormat(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    return ext == "BMP" || ext == "PNG" || ext == "SVG" || ext == "PDF" ? ext : std::string();
}

void SaveChartPicture(TCanvas& canvas, const std::string& path, TFileSystem& fs)
{
    const std::string format = PictureFormat(path);
    if (format.empty())
        throw TVeltraError(TErrorKind::Usage, std::string(PictureExtensionsMessage) + path);
    const std::string picture = canvas.EncodedPicture(format);
    if (picture.empty())
        throw TVeltraError(TErrorKind::File, "The picture for \"" + path + "\" could not be made.");
    WriteWholeFile(path, picture, fs);
}

} // namespace veltra
