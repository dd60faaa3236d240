// JPEG decoding with libjpeg; a decoding error ends that picture only.
#include "internal/picture.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>

namespace tavrin::forms {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

void SilenceJpeg(j_common_ptr) {}

bool IsJpeg(const std::string& b) {
    return b.size() > 3 && uint8_t(b[0]) == 0xFF && uint8_t(b[1]) == 0xD8;
}

// Decodes into *out, which lives in the caller's frame: nothing in this frame
// that setjmp could leave indeterminate is used after an error jumps back.
bool DecodeJpegInto(const std::string& bytes, QImage* out) {
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnJpegError;
    err.base.output_message = SilenceJpeg;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_width > 16384 || info.output_height > 16384 || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

QImage DecodeJpeg(const std::string& bytes) {
    QImage image;
    if (!DecodeJpegInto(bytes, &image)) return QImage();
    return image;
}

}  // namespace

QImage DecodePicture(const std::string& bytes) {
    if (bytes.empty()) return QImage();
    if (IsJpeg(bytes)) return DecodeJpeg(bytes);
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()));
    return image;
}

std::vector<QPixmap> SplitImageList(const ImageListData& list) {
    std::vector<QPixmap> cells;
    const QImage strip = DecodePicture(list.picture);
    if (strip.isNull() || list.cellWidth <= 0 || list.cellHeight <= 0) return cells;
    for (int x = 0; x + list.cellWidth <= strip.width(); x += list.cellWidth)
        cells.push_back(QPixmap::fromImage(
            strip.copy(x, 0, list.cellWidth, std::min(list.cellHeight, strip.height()))));
    return cells;
}

}  // namespace tavrin::forms
