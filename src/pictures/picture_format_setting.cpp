#include "pictures/picture_format_setting.h"

#include <QDir>
#include <QSettings>

namespace tilemond::host {

namespace {

const QString TypeKey = QStringLiteral("pasted_pictures/format");
const QString QualityKey = QStringLiteral("pasted_pictures/quality");

QString settingsFile(const QString& configFolder)
{
    return QDir(configFolder).filePath(QStringLiteral("host.ini"));
}

} // namespace

PictureFormat rememberedPictureFormat(const QString& configFolder)
{
    const QSettings settings(settingsFile(configFolder), QSettings::IniFormat);
    PictureFormat format;
    bool isNumber = false;
    const int quality = settings.value(QualityKey).toInt(&isNumber);
    const auto type = pictureTypeNamed(settings.value(TypeKey).toString());
    if (type && isNumber && isQuality(quality))
        format = {*type, quality};
    return format;
}

void rememberPictureFormat(const QString& configFolder, const PictureFormat& format)
{
    QSettings settings(settingsFile(configFolder), QSettings::IniFormat);
    settings.setValue(TypeKey, nameOf(format.type));
    settings.setValue(QualityKey, format.quality);
}

} // namespace tilemond::host
