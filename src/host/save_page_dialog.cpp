#include "host/save_page_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace tilemond::host {

namespace {

struct TypeChoice
{
    PictureType type;
    const char* caption;
};

constexpr TypeChoice TypeChoices[] = {
    {PictureType::Png, "PNG (every pixel kept)"},
    {PictureType::Jpeg, "JPEG"},
    {PictureType::Webp, "WebP (every pixel kept at quality 100)"},
    {PictureType::Auto, "Auto (PNG for few colours, JPEG for others)"}};

} // namespace

SavePageDialog::SavePageDialog(QWidget* parent, const QString& pagePath,
                               const PictureFormat& format)
    : QFileDialog(parent, QStringLiteral("Save Page As"), pagePath,
                  QStringLiteral("Pages (*.htm *.html)")),
      m_type(new QComboBox), m_quality(new QSpinBox)
{
    // Qt's own dialog, so that the pictures' row can join it.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    selectFile(pagePath);

    for (const TypeChoice& choice : TypeChoices)
        m_type->addItem(QLatin1String(choice.caption), int(choice.type));
    m_type->setObjectName(QStringLiteral("pictureType"));
    m_type->setCurrentIndex(m_type->findData(int(format.type)));
    m_quality->setObjectName(QStringLiteral("pictureQuality"));
    m_quality->setRange(PictureFormat::LowestQuality, PictureFormat::HighestQuality);
    m_quality->setValue(format.quality);
    showQualityFor(format.type);
    connect(m_type, &QComboBox::currentIndexChanged, this,
            [this] { showQualityFor(PictureType(m_type->currentData().toInt())); });

    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    auto* qualityLabel = new QLabel(QStringLiteral("&Quality:"));
    qualityLabel->setBuddy(m_quality);
    rowLayout->addWidget(m_type, 1);
    rowLayout->addWidget(qualityLabel);
    rowLayout->addWidget(m_quality);
    auto* typeLabel = new QLabel(QStringLiteral("Pasted &pictures:"));
    typeLabel->setBuddy(m_type);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int at = grid->rowCount();
        grid->addWidget(typeLabel, at, 0);
        grid->addWidget(row, at, 1, 1, grid->columnCount() - 1);
    }
}

PictureFormat SavePageDialog::pictureFormat() const
{
    return {PictureType(m_type->currentData().toInt()), m_quality->value()};
}

void SavePageDialog::showQualityFor(PictureType type)
{
    m_quality->setEnabled(type != PictureType::Png);
}

} // namespace tilemond::host
