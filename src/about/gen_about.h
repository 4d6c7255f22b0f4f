#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

namespace tilemond {

// The maker's web site, opened by "On The Web" and by the credit line.
inline constexpr char MakerWebSite[] = "https://www.korvimedia.com/tilemond";

// The About box: product name, version and maker's line, with a link to the
// maker's web site. Its controls carry their design names as object names.
class GenAbout final : public QDialog
{
public:
    explicit GenAbout(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPixmap m_banner;
    QLabel* m_credit = nullptr;
};

// Shows the About box modally and returns when it is closed.
void showGenAbout(QWidget* parent = nullptr);

} // namespace tilemond
