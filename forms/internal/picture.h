// Pictures carried by the templates: JPEG data decoded with libjpeg (other
// formats through Qt's readers), and image lists cut into equal cells.
#pragma once

#include <QImage>
#include <QPixmap>
#include <string>
#include <vector>

#include "forms/template_reader.h"

namespace tavrin::forms {

// A null image when the data is empty or cannot be decoded.
QImage DecodePicture(const std::string& bytes);
// The cells of an image list, left to right, each cellWidth × cellHeight.
std::vector<QPixmap> SplitImageList(const ImageListData& list);

}  // namespace tavrin::forms
