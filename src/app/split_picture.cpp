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

Outcome<void> selectElement(host::Document& document, const host::Element& element)
{
    const auto selection = document.selection();
    const auto range = selection ? selection->createRange() : nullptr;
    if (!range || !range->moveToElementText(element) || !range->select())
        return Unexpected(QStringLiteral("the picture cannot be selected"));
    return {};
}

// An empty selection just before the body's end.
Outcome<void> selectBodyEnd(host::Document& document)
{
    const auto body = document.body();
    const auto range = body ? body->createTextRange() : nullptr;
    if (!range || !range->setEndPoint("StartToEnd", *range) || !range->select())
        return Unexpected(QStringLiteral("the page has no body to put the pieces in"));
    return {};
}

Outcome<ChosenPicture> selectNamed(host::Document& document, const host::ElementPtr& picture,
                                   const QString& missing)
{
    if (!picture)
        return Unexpected(missing);
    if (const Outcome<void> selected = selectElement(document, *picture); !selected)
        return Unexpected(selected.error());
    const QString src = QString::fromStdString(picture->getAttribute("src").value_or(""));
    return ChosenPicture{pictureName(src), pictureAddress(src)};
}

} // namespace

Outcome<ChosenPicture> selectSplitPicture(host::Document& document, const SplitOptions& options)
{
    if (options.picture) {
        if (const Outcome<void> selected = selectBodyEnd(document); !selected)
            return Unexpected(selected.error());
        return ChosenPicture{QFileInfo(*options.picture).fileName(), *options.picture};
    }

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
