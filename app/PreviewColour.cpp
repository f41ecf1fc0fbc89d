#include "PreviewColour.h"

#include <QDir>

#include "ColorModel.h"
#include "MapGis.h"

QColor PreviewColour(const MapGis::MapGis_ColorLib* library, long number) {
  if (library && library->GetColorNum() > 0) {
    // The converters' RGB model: zeros for a number outside the library.
    const MapGis::RGBTRIPLE rgb = ColorModel(library, ColorModel::kRgb).Rgb(number);
    return QColor(rgb.rgbtRed, rgb.rgbtGreen, rgb.rgbtBlue);
  }
  static const QRgb kPalette[] = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b,
                                  0xe377c2, 0x7f7f7f, 0xbcbd22, 0x17becf, 0x393b79, 0xad494a};
  const size_t n = sizeof kPalette / sizeof kPalette[0];
  const unsigned long index = static_cast<unsigned long>(number < 0 ? -(number + 1) : number);
  return QColor(kPalette[index % n]);
}

bool LoadPreviewColours(MapGis::MapGis_ColorLib& library, const QStringList& folders) {
  for (const QString& folder : folders) {
    if (folder.isEmpty()) continue;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
      if (name.compare(QLatin1String("Pcolor.lib"), Qt::CaseInsensitive) != 0) continue;
      if (library.LoadColors(dir.filePath(name).toStdWString().c_str()) > 0) return true;
    }
  }
  return false;
}
