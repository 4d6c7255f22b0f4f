#include "app/split_check.h"

#include "layout/page_layout.h"
#include "page/page_file.h"
#include "view/page_scheme.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace tilemond::app {
namespace {

SplitCheck unknown(const QString& why)
{
    return {false, QStringLiteral("not checked: %1").arg(why)};
}

QString number(qint64 value)
{
    return QLocale::c().toString(value);
}

SplitCheck noPicture()
{
    return unknown(QStringLiteral("the pieces took the place of no picture of the page"));
}

// Compares the place of the picture `before` names in the page before and after the split.
SplitCheck compare(const host::PageState& before, layout::LaidOutPage& original,
                   layout::LaidOutPage& split)
{
    const auto picture = original.pictures(before.srcs)[std::size_t(before.picture)];
    if (!picture)
        return unknown(QStringLiteral("the browser engine does not show the picture"));
    const QRect box = picture->box;
    const QImage was = original.painted(box);
    const QImage is = split.painted(box);
    if (was.isNull() || is.isNull())
        return unknown(QStringLiteral("the browser engine did not paint the page in time"));

    qint64 differing = 0;
    int largest = 0;
    QRect where;
    for (int y = 0; y < was.height(); ++y)
        for (int x = 0; x < was.width(); ++x) {
            const QRgb a = was.pixel(x, y);
            const QRgb b = is.pixel(x, y);
            const int difference =
                std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
            if (difference == 0)
                continue;
            ++differing;
            largest = std::max(largest, difference);
            where |= QRect(x, y, 1, 1);
        }
    const QString area = QStringLiteral("%1 x %2").arg(box.width()).arg(box.height());
    if (differing == 0)
        return {
            true,
            QStringLiteral("seamless: the page shows the picture's %1 pixels as before").arg(area)};
    return {false, QStringLiteral("differs: %1 of the picture's %2 pixels, from (%3, %4) to (%5, "
                                  "%6) of it, by up to %7 per channel")
                       .arg(number(differing), area)
                       .arg(where.left())
                       .arg(where.top())
                       .arg(where.right())
                       .arg(where.bottom())
                       .arg(largest)};
}

} // namespace

SplitCheck checkSplit(const host::PageState& before, const QString& savedPath, int viewportWidth)
{
    if (before.picture < 0)
        return noPicture();
    std::string bytes;
    if (!host::readPageFile(savedPath, bytes))
        return unknown(QStringLiteral("the saved page cannot be read"));
    layout::LaidOutPage original(before.source, before.path, viewportWidth);
    layout::LaidOutPage split(bytes, QFileInfo(savedPath).absoluteFilePath(), viewportWidth);
    return compare(before, original, split);
}

SplitCheck checkShownSplit(host::PageHost& host, const host::PageState& before, int viewportWidth)
{
    if (before.picture < 0)
        return noPicture();
    view::PageScheme was(host);
    view::PageScheme is(host);
    was.serve(before.source);
    is.serve(host.source());
    const QUrl page = view::PageScheme::pageUrl(host.pagePath());
    layout::LaidOutPage original(page, was, viewportWidth);
    layout::LaidOutPage split(page, is, viewportWidth);
    return compare(before, original, split);
}

} // namespace tilemond::app
