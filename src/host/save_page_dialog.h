#pragma once

#include "pictures/picture_format.h"

#include <QFileDialog>

class QComboBox;
class QSpinBox;

namespace tilemond::host {

// The desktop's Save As: the page's new name, and below it the format of the page's pasted
// pictures with its quality.
class SavePageDialog : public QFileDialog
{
    Q_OBJECT

public:
    SavePageDialog(QWidget* parent, const QString& pagePath, const PictureFormat& format);

    PictureFormat pictureFormat() const;

private:
    void showQualityFor(PictureType type);

    QComboBox* m_type;
    QSpinBox* m_quality;
};

} // namespace tilemond::host
