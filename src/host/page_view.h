#pragma once

#include "host/page_host.h"

#include <QTextBrowser>

namespace tilemond::host {

// Shows the open page, simply but recognisably, with its pictures: files next to the page and
// pictures pasted but not yet saved. A click on a picture makes it the page's selection and
// frames it; a click elsewhere leaves nothing selected.
class PageView : public QTextBrowser
{
    Q_OBJECT

public:
    explicit PageView(PageHost& host, QWidget* parent = nullptr);

    // Renders the page's source as it is now.
    void refresh();
    // Selects the picture at this place in document order (-1: none) in the page.
    void selectPicture(int index);
    // The picture the page's selection covers; -1 for none.
    int selectedPicture() const { return m_host.selectedPicture(); }

signals:
    void selectionChanged();

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Tab and Shift+Tab select the next and the previous picture of the page, round the end, and
    // scroll it into sight: a picture can be chosen without a mouse.
    bool focusNextPrevChild(bool next) override;

private:
    // Gives every picture of the rendered page a name of its own, in document order.
    void namePictures(QTextDocument& document);
    QImage framed(QImage picture) const;

    PageHost& m_host;
    std::vector<QString> m_sources; // each rendered picture's src
    std::vector<int> m_positions;   // and where it stands in the rendered document
};

} // namespace tilemond::host
