#include "pictures/jpeg_writer.h"

#include <QColorSpace>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace tilemond::host {

namespace {

// From this quality up the colour keeps every pixel: halving it costs drawings' edges some 5 dB.
constexpr int FullColourQuality = 90;

struct Failure
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Failure*>(info->err)->jump, 1);
}

// One encoding of rgbx (Format_RGBX8888); empty when libjpeg-turbo fails.
QByteArray encode(const QImage& rgbx, int quality, bool progressive, const QByteArray& profile)
{
    jpeg_compress_struct info{};
    Failure failure{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jumpOut;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    // Nothing with a destructor lives between here and a jump back.
    if (setjmp(failure.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgbx.width());
    info.image_height = JDIMENSION(rgbx.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    const int sampling = quality >= FullColourQuality ? 1 : 2;
    info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = sampling;
    info.optimize_coding = TRUE;
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!profile.isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(profile.constData()),
                               unsigned(profile.size()));
    while (info.next_scanline < info.image_height) {
        auto* line = const_cast<JSAMPROW>(rgbx.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray file(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return file;
}

} // namespace

QByteArray writeJpeg(const QImage& picture, int quality)
{
    const QImage rgbx = picture.convertToFormat(QImage::Format_RGBX8888);
    if (rgbx.isNull())
        return {};
    const QByteArray profile =
        picture.colorSpace().isValid() ? picture.colorSpace().iccProfile() : QByteArray();
    const QByteArray sequential = encode(rgbx, quality, false, profile);
    const QByteArray progressive = encode(rgbx, quality, true, profile);
    if (sequential.isEmpty() || progressive.isEmpty())
        return sequential.isEmpty() ? progressive : sequential;
    return progressive.size() < sequential.size() ? progressive : sequential;
}

} // namespace tilemond::host
