#include "assets/jpegloader.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

constexpr JDIMENSION kMaxSide = 8192;

// libjpeg's default error handler exits the process; ours jumps back to decodeJpeg instead.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool warned;
};

[[noreturn]] void onError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

// Warnings (level -1) mean corrupt data that libjpeg patched over, such as a truncated scan;
// such a picture is not the one stored, so it is refused. Trace messages are dropped.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        reinterpret_cast<ErrorManager*>(cinfo->err)->warned = true;
}

void silent(j_common_ptr) {}

// Runs the decoder; everything with a destructor lives outside, as longjmp skips destructors.
bool decodeInto(const QByteArray& data, jpeg_decompress_struct& cinfo, ErrorManager& err,
                QImage& image)
{
    if (setjmp(err.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    // A damaged header can claim a huge picture; ours are a few hundred pixels a side.
    if (cinfo.image_width > kMaxSide || cinfo.image_height > kMaxSide)
        return false;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3)
        return false;
    image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                   QImage::Format_RGB888);
    if (image.isNull())
        return false;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return !err.warned;
}

} // namespace

QImage decodeJpeg(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = onMessage;
    err.base.output_message = silent;
    QImage image;
    const bool ok = decodeInto(data, cinfo, err, image);
    jpeg_destroy_decompress(&cinfo);
    return ok ? image : QImage();
}
