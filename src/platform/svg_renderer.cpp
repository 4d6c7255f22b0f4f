#include "platform/svg_renderer.h"

#include "platform/picture_format.h"
#include "platform/picture_limits.h"
#include "platform/rounding.h"

#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>

namespace tilemond {
namespace {

// The size a browser gives a picture that has none of its own.
constexpr QSizeF DefaultObjectSize(300, 150);

// What the root element says about the drawing's size.
struct SvgRoot
{
    std::optional<double> width;
    std::optional<double> height;
    std::optional<QRectF> viewBox;
    bool keepShape = true;
};

struct SvgDrawing
{
    QByteArray data; // what Qt Svg is given: the file without what names other files
    SvgRoot root;
    QString error;
};

// An absolute length in pixels at 96 an inch; nullopt for a percentage, a font-relative length
// or anything else that has no size of its own.
std::optional<double> absoluteLength(QStringView text)
{
    static const QRegularExpression length(
        QStringLiteral("^\\s*([+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)\\s*(px|in|cm|mm|pt|"
                       "pc)?\\s*$"));
    const QRegularExpressionMatch match = length.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    const double value = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    const double perUnit = unit == QLatin1String("in")   ? 96.0
                           : unit == QLatin1String("cm") ? 96.0 / 2.54
                           : unit == QLatin1String("mm") ? 96.0 / 25.4
                           : unit == QLatin1String("pt") ? 96.0 / 72
                           : unit == QLatin1String("pc") ? 16.0
                                                         : 1.0;
    return value > 0 ? std::optional(value * perUnit) : std::nullopt;
}

std::optional<QRectF> viewBoxOf(QStringView text)
{
    const QStringList numbers =
        text.toString().split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (numbers.size() != 4)
        return std::nullopt;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = numbers[i].toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QRectF box(values[0], values[1], values[2], values[3]);
    return box.width() > 0 && box.height() > 0 ? std::optional(box) : std::nullopt;
}

SvgRoot rootOf(const QXmlStreamAttributes& attributes)
{
    return {absoluteLength(attributes.value(QLatin1String("width"))),
            absoluteLength(attributes.value(QLatin1String("height"))),
            viewBoxOf(attributes.value(QLatin1String("viewBox"))),
            !attributes.value(QLatin1String("preserveAspectRatio"))
                 .trimmed()
                 .startsWith(QLatin1String("none"))};
}

// An image element that names a picture outside the file (anything but a data: address).
bool namesOtherFile(const QXmlStreamReader& reader)
{
    if (reader.name() != QLatin1String("image"))
        return false;
    for (const QXmlStreamAttribute& attribute : reader.attributes())
        if (attribute.name() == QLatin1String("href") &&
            !attribute.value().trimmed().startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
            return true;
    return false;
}

SvgDrawing readDrawing(const QByteArray& data)
{
    SvgDrawing drawing;
    QXmlStreamReader reader(data);
    QXmlStreamWriter writer(&drawing.data);
    bool rootSeen = false;
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::Invalid) {
        if (reader.isProcessingInstruction())
            continue;
        if (reader.isStartElement() && !rootSeen) {
            rootSeen = true;
            if (reader.name() != QLatin1String("svg")) {
                drawing.error = QStringLiteral("it is XML but not an SVG drawing");
                return drawing;
            }
            drawing.root = rootOf(reader.attributes());
        } else if (reader.isStartElement() && namesOtherFile(reader)) {
            reader.skipCurrentElement();
            continue;
        }
        writer.writeCurrentToken(reader);
    }
    if (reader.hasError())
        drawing.error = QStringLiteral("its XML is broken: %1 (line %2)")
                            .arg(reader.errorString())
                            .arg(reader.lineNumber());
    return drawing;
}

// The drawing's own size in pixels, unrounded, as a browser's default sizing makes it.
QSizeF ownSize(const SvgRoot& root)
{
    const std::optional<double> ratio =
        root.width && root.height ? std::optional(*root.width / *root.height)
        : root.viewBox            ? std::optional(root.viewBox->width() / root.viewBox->height())
                                  : std::nullopt;
    if (root.width && root.height)
        return {*root.width, *root.height};
    if (root.width)
        return {*root.width, ratio ? *root.width / *ratio : DefaultObjectSize.height()};
    if (root.height)
        return {ratio ? *root.height * *ratio : DefaultObjectSize.width(), *root.height};
    if (!ratio)
        return DefaultObjectSize;
    // Fitted into the default size, as the drawing's shape allows.
    return *ratio >= DefaultObjectSize.width() / DefaultObjectSize.height()
               ? QSizeF(DefaultObjectSize.width(), DefaultObjectSize.width() / *ratio)
               : QSizeF(DefaultObjectSize.height() * *ratio, DefaultObjectSize.height());
}

} // namespace

bool looksLikeSvg(const QByteArray& data)
{
    // Some 4 KB hold the XML declaration, a doctype and the comments that come before the root.
    const QByteArray start = data.left(4096).trimmed();
    return (start.startsWith('<') || start.startsWith("\xef\xbb\xbf<")) && start.contains("<svg");
}

LoadedPicture renderSvg(const QByteArray& data, const QString& file, const ShownSize& shown)
{
    const SvgDrawing drawing = readDrawing(data);
    if (!drawing.error.isEmpty())
        return {{}, damagedError(file, drawing.error)};
    QSvgRenderer renderer(drawing.data);
    if (!renderer.isValid())
        return {{}, damagedError(file, QStringLiteral("Qt Svg cannot read its drawing"))};

    const QSizeF own = ownSize(drawing.root);
    QSize size(std::max(1, roundToEven(own.width())), std::max(1, roundToEven(own.height())));
    if (shown)
        size = shown(size);
    if (!pictureSizeAllowed(size.width(), size.height()))
        return {{}, tooLargeError(file, size.width(), size.height())};
    // Without a viewBox, the drawing's units are pixels of its own size.
    if (!drawing.root.viewBox)
        renderer.setViewBox(QRectF(QPointF(0, 0), own));
    renderer.setAspectRatioMode(drawing.root.keepShape ? Qt::KeepAspectRatio
                                                       : Qt::IgnoreAspectRatio);

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {{}, tooLargeError(file, size.width(), size.height())};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return {heldPicture(std::move(image)), {}};
}

} // namespace tilemond
