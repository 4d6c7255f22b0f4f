// Writes the test pictures in tests/data/pictures: one picture of every format that the
// picture reader takes, each with a few known pixels, and broken copies of each.
// Built and run by scripts/make-test-pictures; Qt writes bmp, jpg and png, gif has its own
// small encoder below, and the metafiles are written record by record through libuemf.
//
// The main picture is 40 x 30 pixels in four quadrants: red top left, green top right,
// blue bottom left, yellow bottom right (see-through in transparent.gif). The metafiles are laid
// out for 96 DPI (15 twips per pixel).
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

extern "C" {
#include <uemf.h>
#include <uemf_utf.h>
#include <uwmf.h>
}

namespace {

const QColor kQuadrants[4] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                              QColor(255, 255, 0)};

QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int halfW = width / 2;
    const int halfH = height / 2;
    painter.fillRect(0, 0, halfW, halfH, kQuadrants[0]);
    painter.fillRect(halfW, 0, width - halfW, halfH, kQuadrants[1]);
    painter.fillRect(0, halfH, halfW, height - halfH, kQuadrants[2]);
    painter.fillRect(halfW, halfH, width - halfW, height - halfH, kQuadrants[3]);
    return image;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll();
}

// --- GIF: palette picture, LZW with a clear code after every two pixels so that the
// code width stays at 3 bits (a valid, if uncompressed, stream).
void appendLe16(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

QByteArray lzwFrame(const std::vector<int>& indexes)
{
    constexpr int kClear = 4;
    constexpr int kEnd = 5;
    QByteArray packed;
    unsigned bits = 0;
    int bitCount = 0;
    auto put = [&](int code) {
        bits |= unsigned(code) << bitCount;
        bitCount += 3;
        while (bitCount >= 8) {
            packed.append(char(bits & 0xff));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (i % 2 == 0)
            put(kClear);
        put(indexes[i]);
    }
    put(kEnd);
    if (bitCount > 0)
        packed.append(char(bits & 0xff));

    QByteArray out;
    out.append(char(2)); // minimum code size
    for (qsizetype at = 0; at < packed.size(); at += 255) {
        const QByteArray block = packed.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0));
    return out;
}

// Two frames: the quadrants, then an all-red frame that a reader of the first frame ignores.
// With a transparent index, that colour of the palette is see-through.
QByteArray quadrantGif(int width, int height, int transparent = -1)
{
    QByteArray gif("GIF89a");
    appendLe16(gif, width);
    appendLe16(gif, height);
    gif.append(char(0x91)); // global table of 4 colours, 2 bits of colour resolution
    gif.append(char(0));
    gif.append(char(0));
    for (const QColor& c : kQuadrants) {
        gif.append(char(c.red()));
        gif.append(char(c.green()));
        gif.append(char(c.blue()));
    }
    auto frame = [&](const std::function<int(int, int)>& index) {
        gif.append(QByteArray::fromHex("21f904")); // graphic control: 0.1 s delay
        gif.append(char(transparent >= 0 ? 1 : 0));
        gif.append(QByteArray::fromHex("0a00"));
        gif.append(char(std::max(transparent, 0)));
        gif.append(char(0));
        gif.append(char(0x2c));
        appendLe16(gif, 0);
        appendLe16(gif, 0);
        appendLe16(gif, width);
        appendLe16(gif, height);
        gif.append(char(0));
        std::vector<int> indexes;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                indexes.push_back(index(x, y));
        gif.append(lzwFrame(indexes));
    };
    frame([&](int x, int y) { return (x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0); });
    frame([](int, int) { return 0; });
    gif.append(char(0x3b));
    return gif;
}

U_COLORREF colorRef(const QColor& c)
{
    return colorref3_set(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

// --- WMF: 600 x 450 units in a window at `origin`; the placeable header gives 600 x 450 units at
// `unitsPerInch` (1440: 40 x 30 pixels, 96: 600 x 450). Shapes are drawn without outline until
// another pen is selected.
struct WmfWriter
{
    WMFTRACK* wt = nullptr;
    WMFHANDLES* wht = nullptr;

    WmfWriter(const QString& path, bool placeable, int16_t originX = 0, int16_t originY = 0,
              int unitsPerInch = 1440)
    {
        wmf_start(path.toLocal8Bit().constData(), 4096, 4096, &wt);
        wmf_htable_create(16, 16, &wht);
        U_PAIRF* inches = U_PAIRF_set(600.0f / float(unitsPerInch), 450.0f / float(unitsPerInch));
        wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(
                              placeable ? inches : nullptr, unsigned(unitsPerInch))),
                          wt, 1);
        std::free(inches);
        add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
        add(U_WMRSETWINDOWORG_set(point16_set(originX, originY)));
        add(U_WMRSETWINDOWEXT_set(point16_set(600, 450)));
        selectPen(U_PS_NULL);
    }
    ~WmfWriter()
    {
        add(U_WMREOF_set());
        wmf_finish(wt);
        wmf_free(&wt);
        wmf_htable_free(&wht);
    }
    void add(char* record) { wmf_append(reinterpret_cast<U_METARECORD*>(record), wt, 1); }
    void selectPen(uint16_t style, uint16_t width = 1, const QColor& colour = Qt::black)
    {
        uint32_t pen = 0;
        add(wcreatepenindirect_set(&pen, wht, U_PEN_set(style, width, colorRef(colour))));
        add(wselectobject_set(pen, wht));
    }
    // Returns the brush's handle.
    uint32_t selectBrush(const QColor& colour, uint16_t style = U_BS_SOLID)
    {
        uint32_t brush = 0;
        add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(style, colorRef(colour), 0)));
        add(wselectobject_set(brush, wht));
        return brush;
    }
};

U_RECT16 rect16(int left, int top, int right, int bottom)
{
    return U_RECT16_set(point16_set(int16_t(left), int16_t(top)),
                        point16_set(int16_t(right), int16_t(bottom)));
}

// The quadrants in rectangles, with a black square in the middle of the red one.
void writeWmf(const QString& path, bool placeable)
{
    WmfWriter w(path, placeable);
    const int corners[4][2] = {{0, 0}, {300, 0}, {0, 225}, {300, 225}};
    for (int i = 0; i < 4; ++i) {
        uint32_t brush = w.selectBrush(kQuadrants[i]);
        const int x = corners[i][0];
        const int y = corners[i][1];
        w.add(U_WMRRECTANGLE_set(rect16(x, y, x + 300, y + 225)));
        w.add(wdeleteobject_set(&brush, w.wht));
    }
    w.selectPen(U_PS_SOLID);
    w.selectBrush(Qt::black);
    w.add(U_WMRRECTANGLE_set(rect16(105, 75, 195, 150)));
}

// A red rectangle inside the frame, touching none of its edges: 100 units in from the left and
// top of a 600 x 450 window, 400 x 250 units, with a black ellipse 100 units across in its
// middle. The plain one has its window at (1000, 2000).
void writeFramedWmf(const QString& path, bool placeable)
{
    const int16_t x = placeable ? 0 : 1000;
    const int16_t y = placeable ? 0 : 2000;
    WmfWriter w(path, placeable, x, y);
    w.selectBrush(kQuadrants[0]);
    w.add(U_WMRRECTANGLE_set(rect16(x + 100, y + 100, x + 500, y + 350)));
    w.selectBrush(Qt::black);
    w.add(U_WMRELLIPSE_set(rect16(x + 250, y + 175, x + 350, y + 275)));
}

// The pictures below are 600 x 450 pixels at 96 DPI, one logical unit a pixel.

// Wide pens: a blue rectangle (50, 50)-(250, 200) outlined 20 wide in black; an ellipse in
// (350, 50)-(550, 200) outlined 16 wide in red and left hollow; a green pie in the ellipse
// (50, 250)-(250, 400) from its east counterclockwise to its north, without outline.
void writeShapesWmf(const QString& path)
{
    WmfWriter w(path, true, 0, 0, 96);
    w.selectPen(U_PS_SOLID, 20);
    w.selectBrush(kQuadrants[2]);
    w.add(U_WMRRECTANGLE_set(rect16(50, 50, 250, 200)));
    w.selectPen(U_PS_SOLID, 16, kQuadrants[0]);
    w.selectBrush(Qt::white, U_BS_NULL);
    w.add(U_WMRELLIPSE_set(rect16(350, 50, 550, 200)));
    w.selectPen(U_PS_NULL);
    w.selectBrush(kQuadrants[1]);
    w.add(U_WMRPIE_set(point16_set(250, 325), point16_set(150, 250), rect16(50, 250, 250, 400)));
}

// Text in DejaVu Sans 40 pixels high: black "HH" centred on x = 300 with its baseline on
// y = 100, in the background mode transparent; then red "HH" with its top right corner at
// (550, 300) after its box (350, 250)-(550, 350) is filled yellow.
void writeTextWmf(const QString& path)
{
    WmfWriter w(path, true, 0, 0, 96);
    char face[] = "DejaVu Sans";
    U_FONT* font = U_FONT_set(-40, 0, 0, 0, 700, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                              U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    uint32_t handle = 0;
    w.add(wcreatefontindirect_set(&handle, w.wht, font));
    std::free(font);
    w.add(wselectobject_set(handle, w.wht));
    w.add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    w.add(U_WMRSETTEXTALIGN_set(U_TA_CENTER | U_TA_BASELINE));
    char text[] = "HH";
    w.add(U_WMRTEXTOUT_set(point16_set(300, 100), text));
    w.add(U_WMRSETTEXTCOLOR_set(colorRef(kQuadrants[0])));
    w.add(U_WMRSETBKCOLOR_set(colorRef(kQuadrants[3])));
    w.add(U_WMRSETTEXTALIGN_set(U_TA_RIGHT | U_TA_TOP));
    int16_t* advances = dx16_get(-40, 700, 2);
    // The record holds left, top, right, bottom; libuemf writes the four in reverse.
    w.add(U_WMREXTTEXTOUT_set(point16_set(550, 300), 2, U_ETO_OPAQUE, text, advances,
                              rect16(350, 550, 250, 350)));
    std::free(advances);
}

// A 2 x 2 bitmap stretched by StretchDIB over (100, 100)-(500, 350). Its rows run bottom up:
// top row blue, cyan; bottom row magenta, blue.
void writeBitmapWmf(const QString& path)
{
    WmfWriter w(path, true, 0, 0, 96);
    const U_BITMAPINFOHEADER header =
        bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, 16, 2835, 2835, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    char bits[16] = {char(255), 0, char(255), char(255), 0,         0, 0, 0,  // magenta, blue
                     char(255), 0, 0,         char(255), char(255), 0, 0, 0}; // blue, cyan
    w.add(U_WMRSTRETCHDIB_set(point16_set(100, 100), point16_set(400, 250), point16_set(0, 0),
                              point16_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, info, 16, bits));
    std::free(info);
}

// Clipping: a red rectangle over the whole frame, drawn inside (100, 100)-(300, 300) less
// (150, 150)-(200, 200); after RestoreDC has undone the clip, a blue rectangle
// (400, 300)-(500, 400).
void writeClippedWmf(const QString& path)
{
    WmfWriter w(path, true, 0, 0, 96);
    w.add(U_WMRSAVEDC_set());
    w.add(U_WMRINTERSECTCLIPRECT_set(rect16(100, 100, 300, 300)));
    w.add(U_WMREXCLUDECLIPRECT_set(rect16(150, 150, 200, 200)));
    w.selectBrush(kQuadrants[0]);
    w.add(U_WMRRECTANGLE_set(rect16(0, 0, 600, 450)));
    w.add(U_WMRRESTOREDC_set(-1));
    w.selectBrush(kQuadrants[2]);
    w.add(U_WMRRECTANGLE_set(rect16(400, 300, 500, 400)));
}

// The object table, a clip region, a pattern brush and a raster operation:
// - a green brush is made and deleted, so that the red pen made after it takes its slot: a
//   yellow rectangle (50, 50)-(250, 200) outlined 10 wide in red;
// - a blue rectangle (300, 20)-(580, 220) clipped to the region (350, 50)-(450, 150); the
//   region is deleted, and selecting its empty slot as the clip ends the clip;
// - a rectangle (50, 250)-(250, 400) filled with a 2 x 2 pattern, white where x + y is even;
// - red rectangles (350, 250)-(500, 350) and (400, 300)-(550, 400) drawn with XOR: cyan on
//   white, white again where they overlap.
void writeRecordsWmf(const QString& path)
{
    WmfWriter w(path, true, 0, 0, 96);
    uint32_t green = w.selectBrush(kQuadrants[1]);
    uint32_t yellow = 0;
    w.add(wcreatebrushindirect_set(&yellow, w.wht,
                                   U_WLOGBRUSH_set(U_BS_SOLID, colorRef(kQuadrants[3]), 0)));
    w.add(wselectobject_set(yellow, w.wht));
    w.add(wdeleteobject_set(&green, w.wht));
    w.selectPen(U_PS_SOLID, 10, kQuadrants[0]);
    w.add(U_WMRRECTANGLE_set(rect16(50, 50, 250, 200)));

    w.selectPen(U_PS_NULL);
    // One scan from y 50 to 150 with one run from x 350 to 450; the count stands after it again.
    const uint16_t scan[6] = {2, 50, 150, 350, 450, 2};
    const U_REGION header{0, 6, 0, int16_t(U_SIZE_REGION + sizeof scan), 1, 2,
                          rect16(350, 50, 450, 150), {0}};
    const QByteArray bytes = QByteArray(reinterpret_cast<const char*>(&header), U_SIZE_REGION) +
                             QByteArray(reinterpret_cast<const char*>(scan), sizeof scan);
    uint32_t region = 0;
    w.add(wcreateregion_set(&region, w.wht, reinterpret_cast<const U_REGION*>(bytes.constData())));
    w.add(U_WMRSELECTCLIPREGION_set(uint16_t(region)));
    w.selectBrush(kQuadrants[2]);
    w.add(U_WMRRECTANGLE_set(rect16(300, 20, 580, 220)));
    const uint16_t emptySlot = uint16_t(region);
    w.add(wdeleteobject_set(&region, w.wht));
    w.add(U_WMRSELECTCLIPREGION_set(emptySlot));

    // Rows bottom up: black, white; white, black.
    const U_BITMAPINFOHEADER patternHeader =
        bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, 16, 2835, 2835, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(patternHeader, nullptr);
    char bits[16] = {0,         0,         0,         char(255), char(255), char(255), 0, 0,
                     char(255), char(255), char(255), 0,         0,         0,         0, 0};
    uint32_t pattern = 0;
    w.add(wcreatedibpatternbrush_srcdib_set(&pattern, w.wht, U_DIB_RGB_COLORS, info, 16, bits));
    std::free(info);
    w.add(wselectobject_set(pattern, w.wht));
    w.add(U_WMRRECTANGLE_set(rect16(50, 250, 250, 400)));

    w.add(U_WMRSETROP2_set(U_R2_XORPEN));
    w.selectBrush(kQuadrants[0]);
    w.add(U_WMRRECTANGLE_set(rect16(350, 250, 500, 350)));
    w.add(U_WMRRECTANGLE_set(rect16(400, 300, 550, 400)));
}

// --- EMF: 80 x 60 pixels, drawn with most kinds of record that the renderer knows.
struct EmfWriter
{
    EMFTRACK* et = nullptr;
    EMFHANDLES* eht = nullptr;
    void add(char* record)
    {
        emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), et, U_REC_FREE);
    }
};

U_RECTL rect(int l, int t, int r, int b)
{
    return rectl_set(point32_set(l, t), point32_set(r, b));
}

void writeEmf(const QString& path)
{
    EmfWriter w;
    emf_start(path.toLocal8Bit().constData(), 8192, 8192, &w.et);
    htable_create(16, 16, &w.eht);
    // Reference device: 960 x 960 pixels on 254 x 254 mm, so 96 DPI.
    w.add(U_EMRHEADER_set(rect(0, 0, 79, 59), rect(0, 0, 2117, 1588), nullptr, 0, nullptr,
                          sizel_set(960, 960), sizel_set(254, 254), 0));

    // Device units first: the red quadrant under the stock null pen.
    w.add(U_EMRSELECTOBJECT_set(U_NULL_PEN));
    uint32_t red = 0;
    w.add(
        createbrushindirect_set(&red, w.eht, logbrush_set(U_BS_SOLID, colorRef(kQuadrants[0]), 0)));
    w.add(selectobject_set(red, w.eht));
    w.add(U_EMRRECTANGLE_set(rect(0, 0, 40, 30)));

    // Then ten logical units a pixel.
    w.add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    w.add(U_EMRSETWINDOWORGEX_set(point32_set(0, 0)));
    w.add(U_EMRSETWINDOWEXTEX_set(sizel_set(800, 600)));
    w.add(U_EMRSETVIEWPORTORGEX_set(point32_set(0, 0)));
    w.add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(80, 60)));

    // Green quadrant as a polygon.
    uint32_t green = 0;
    w.add(createbrushindirect_set(&green, w.eht,
                                  logbrush_set(U_BS_SOLID, colorRef(kQuadrants[1]), 0)));
    w.add(selectobject_set(green, w.eht));
    const U_POINT16 greenCorners[4] = {point16_set(400, 0), point16_set(800, 0),
                                       point16_set(800, 300), point16_set(400, 300)};
    w.add(U_EMRPOLYGON16_set(rect(40, 0, 80, 30), 4, greenCorners));

    // Bottom left: a 2 x 2 bitmap stretched over the quadrant. Rows run bottom up:
    // top row blue, cyan; bottom row magenta, blue.
    const U_BITMAPINFOHEADER header =
        bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, 16, 2835, 2835, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    char bits[16] = {char(255), 0, char(255), char(255), 0,         0, 0, 0,  // magenta, blue
                     char(255), 0, 0,         char(255), char(255), 0, 0, 0}; // blue, cyan
    w.add(U_EMRSTRETCHDIBITS_set(rect(0, 30, 40, 60), point32_set(0, 300), point32_set(400, 300),
                                 point32_set(0, 0), point32_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY,
                                 info, 16, bits));
    std::free(info);

    // A mapping that the restore must undo: everything drawn under it would fall outside.
    w.add(U_EMRSAVEDC_set());
    w.add(U_EMRSETVIEWPORTORGEX_set(point32_set(5000, 5000)));
    w.add(U_EMRRESTOREDC_set(-1));

    // Yellow quadrant: two triangles of one polypolygon.
    uint32_t yellow = 0;
    w.add(createbrushindirect_set(&yellow, w.eht,
                                  logbrush_set(U_BS_SOLID, colorRef(kQuadrants[3]), 0)));
    w.add(selectobject_set(yellow, w.eht));
    const U_POINT16 triangles[6] = {point16_set(400, 300), point16_set(800, 300),
                                    point16_set(400, 600), point16_set(800, 300),
                                    point16_set(800, 600), point16_set(400, 600)};
    const uint32_t counts[2] = {3, 3};
    w.add(U_EMRPOLYPOLYGON16_set(rect(40, 30, 80, 60), 2, counts, 6, triangles));

    // Stock black brush: a disc in the middle of the red quadrant.
    w.add(U_EMRSELECTOBJECT_set(U_BLACK_BRUSH));
    w.add(U_EMRELLIPSE_set(rect(150, 100, 250, 200)));

    // A black line two pixels wide across the green quadrant at y = 5 px.
    uint32_t linePen = 0;
    w.add(createpen_set(&linePen, w.eht,
                        logpen_set(U_PS_SOLID, point32_set(20, 20), colorRef(Qt::black))));
    w.add(selectobject_set(linePen, w.eht));
    w.add(U_EMRMOVETOEX_set(point32_set(400, 50)));
    w.add(U_EMRLINETO_set(point32_set(800, 50)));

    // A blue polyline, two pixels wide, at y = 25 px through an extended pen.
    uint32_t polyPen = 0;
    PU_EXTLOGPEN extPen = extlogpen_set(U_PS_SOLID | U_PS_GEOMETRIC | U_PS_ENDCAP_FLAT, 20,
                                        U_BS_SOLID, colorRef(kQuadrants[2]), 0, 0, nullptr);
    w.add(extcreatepen_set(&polyPen, w.eht, nullptr, 0, nullptr, extPen));
    std::free(extPen);
    w.add(selectobject_set(polyPen, w.eht));
    const U_POINT16 line[3] = {point16_set(400, 250), point16_set(600, 250), point16_set(800, 250)};
    w.add(U_EMRPOLYLINE16_set(rect(40, 24, 80, 26), 3, line));
    w.add(deleteobject_set(&linePen, w.eht));

    // Black text on the yellow quadrant.
    uint16_t* face = U_Utf8ToUtf16le("DejaVu Sans", 0, nullptr);
    const U_LOGFONT font =
        logfont_set(-160, 0, 0, 0, 700, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                    U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    std::free(face);
    uint32_t fontHandle = 0;
    w.add(extcreatefontindirectw_set(&fontHandle, w.eht, reinterpret_cast<const char*>(&font),
                                     nullptr));
    w.add(selectobject_set(fontHandle, w.eht));
    w.add(U_EMRSETTEXTCOLOR_set(colorRef(Qt::black)));
    w.add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    size_t length = 0;
    uint16_t* text = U_Utf8ToUtf16le("HH", 0, &length);
    uint32_t* dx = dx_set(-160, 700, uint32_t(length));
    char* emrText =
        emrtext_set(point32_set(450, 350), uint32_t(length), 2, text, U_ETO_NONE, U_RCL_DEF, dx);
    w.add(U_EMREXTTEXTOUTW_set(U_RCL_DEF, U_GM_COMPATIBLE, 1.0f, 1.0f,
                               reinterpret_cast<PU_EMRTEXT>(emrText)));
    std::free(emrText);
    std::free(dx);
    std::free(text);

    w.add(U_EMREOF_set(0, nullptr, w.et));
    emf_finish(w.et, w.eht);
    emf_free(&w.et);
    htable_free(&w.eht);
}

// --- Headers that announce 100000 x 100000 pixels and nothing behind them.
quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendBe32(QByteArray& out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xff));
}

void appendLe32(QByteArray& out, quint32 value)
{
    appendLe16(out, int(value & 0xffff));
    appendLe16(out, int(value >> 16));
}

QByteArray hugePng()
{
    QByteArray ihdr("IHDR");
    appendBe32(ihdr, 100000);
    appendBe32(ihdr, 100000);
    ihdr.append(QByteArray::fromHex("0802000000")); // 8-bit RGB
    QByteArray png = QByteArray::fromHex("89504e470d0a1a0a");
    appendBe32(png, 13);
    png.append(ihdr);
    appendBe32(png, crc32(ihdr));
    return png;
}

QByteArray hugeBmp()
{
    QByteArray bmp("BM");
    appendLe32(bmp, 54);
    appendLe32(bmp, 0);
    appendLe32(bmp, 54);
    appendLe32(bmp, 40);
    appendLe32(bmp, 100000);
    appendLe32(bmp, 100000);
    appendLe16(bmp, 1);
    appendLe16(bmp, 24);
    for (int i = 0; i < 6; ++i)
        appendLe32(bmp, 0);
    return bmp;
}

// The drawing with a frame of 100 x 100 metres.
QByteArray hugeEmf(QByteArray emf)
{
    QByteArray frame;
    for (const quint32 value : {0u, 0u, 10000000u, 10000000u})
        appendLe32(frame, value);
    emf.replace(24, 16, frame);
    return emf;
}

// --- Broken copies: the first half of the file, and the file's magic bytes (with, for gif,
// its screen descriptor) before junk.
void writeBroken(const QString& dir, const QString& name, const QString& suffix, int keepLength)
{
    const QByteArray whole = readFile(dir + "/" + name + "." + suffix);
    writeFile(dir + "/truncated." + suffix, whole.left(whole.size() / 2));
    QByteArray junk = whole.left(keepLength);
    for (int i = 0; i < 200; ++i)
        junk.append(char((i * 73 + 11) & 0xff));
    writeFile(dir + "/garbage." + suffix, junk);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);

    const QImage picture = quadrants(40, 30);
    picture.save(dir + "/quadrants.bmp", "BMP");
    picture.save(dir + "/quadrants.png", "PNG");
    picture.save(dir + "/quadrants.jpg", "JPG", 95);
    writeFile(dir + "/quadrants.gif", quadrantGif(40, 30));
    // The yellow quadrant see-through.
    writeFile(dir + "/transparent.gif", quadrantGif(40, 30, 3));
    writeWmf(dir + "/quadrants.wmf", true);
    writeWmf(dir + "/quadrants-plain.wmf", false);
    writeFramedWmf(dir + "/framed.wmf", true);
    writeFramedWmf(dir + "/framed-plain.wmf", false);
    writeShapesWmf(dir + "/shapes.wmf");
    writeTextWmf(dir + "/text.wmf");
    writeBitmapWmf(dir + "/bitmap.wmf");
    writeClippedWmf(dir + "/clipped.wmf");
    writeRecordsWmf(dir + "/records.wmf");
    writeEmf(dir + "/drawing.emf");

    // A png saved as .bmp: the content decides.
    picture.save(dir + "/png-named.bmp", "PNG");

    writeBroken(dir, "quadrants", "bmp", 2);
    writeBroken(dir, "quadrants", "png", 8);
    writeBroken(dir, "quadrants", "jpg", 3);
    writeBroken(dir, "quadrants", "wmf", 4);
    writeBroken(dir, "drawing", "emf", 44);
    // The gif is cut inside its first frame.
    const QByteArray gif = readFile(dir + "/quadrants.gif");
    writeFile(dir + "/truncated.gif", gif.left(200));
    writeFile(dir + "/huge.png", hugePng());
    writeFile(dir + "/huge.bmp", hugeBmp());
    writeFile(dir + "/huge.emf", hugeEmf(readFile(dir + "/drawing.emf")));
    writeFile(dir + "/garbage.gif", gif.left(13) + QByteArray(200, char(0x5a)));
    return 0;
}
