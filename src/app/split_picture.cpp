#include "app/split_picture.h"

#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace tilemond::app {
namespace {

// A data: address up to its comma: its bytes name nothing.
QString dataAddressName(const QString& src)
{
    const qsizetype comma = src.indexOf(',');
    return src.left(comma < 0 ? 40 : std::min(comma, qsizetype(40))) + QStringLiteral(",…");
}

QString pictureName(const QString& src)
{
    if (src.isEmpty())
        return QStringLiteral("the picture");
    if (src.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return dataAddressName(src);
    const QString name = QFileInfo(QUrl(src).path()).fileName();
    return name.isEmpty() ? src : name;
}

QString pictureAddress(const QString& src)
{
    if (src.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return dataAddressName(src);
    return QLatin1Char('"') + src + QLatin1Char('"');
}

QString selectElement(host::Document& document, const host::Element& element)
{
    const auto selection = document.selection();
    const auto range = selection ? selection->createRange() : nullptr;
    if (!range || !range->moveToElementText(element) || !range->select())
        return QStringLiteral("the picture cannot be selected");
    return QString();
}

// An empty selection just before the body's end.
QString selectBodyEnd(host::Document& document)
{
    const auto body = document.body();
    const auto range = body ? body->createTextRange() : nullptr;
    if (!range || !range->setEndPoint("StartToEnd", *range) || !range->select())
        return QStringLiteral("the page has no body to put the pieces in");
    return QString();
}

ChosenPicture selectNamed(host::Document& document, const host::ElementPtr& picture,
                          const QString& missing)
{
    if (!picture)
        return {QString(), QString(), missing};
    const QString src = QString::fromStdString(picture->getAttribute("src").value_or(""));
    return {pictureName(src), pictureAddress(src), selectElement(document, *picture)};
}

} // namespace

ChosenPicture selectSplitPicture(host::Document& document, const SplitOptions& options)
{
    if (options.picture)
        return {QFileInfo(*options.picture).fileName(), *options.picture, selectBodyEnd(document)};

    const auto images = document.images();
    const int count = images ? images->length() : 0;
    if (options.image) {
        const QString missing =
            count == 0 ? QStringLiteral("the page has no pictures")
            : count == 1
                ? QStringLiteral("the page has no picture %1 (its one picture is number 0)")
                      .arg(*options.image)
                : QStringLiteral("the page has no picture %1 (its %2 pictures are numbered "
                                 "from 0 to %3)")
                      .arg(*options.image)
                      .arg(count)
                      .arg(count - 1);
        return selectNamed(document, images ? images->item(*options.image) : nullptr, missing);
    }
    const auto all = document.all();
    const auto tagged = all ? all->tags("IMG") : nullptr;
    const auto picture = tagged ? tagged->item(options.id->toStdString()) : nullptr;
    return selectNamed(document, picture,
                       QStringLiteral("the page has no picture with the id '%1'").arg(*options.id));
}

} // namespace tilemond::app
