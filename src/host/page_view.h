#pragma once

#include "host/page_host.h"

#include <QWidget>

namespace tilemond::host {

// What the host window shows the open page in. The host owns the page and its selection; a view
// shows the page's source as it is now and frames the selected picture. A picture chosen in the
// view becomes the page's selection, a choice of nothing leaves nothing selected; the view gives
// Tab and Shift+Tab to selectNextPicture, so that a picture can be chosen without a mouse.
class PageView : public QWidget
{
    Q_OBJECT

public:
    explicit PageView(PageHost& host, QWidget* parent = nullptr) : QWidget(parent), m_host(host) {}

    // Shows the page's source as it is now, scrolled where it was.
    virtual void refresh() = 0;
    // Selects the picture at this place in document order (-1: none) in the page.
    void selectPicture(int index);
    // The next (or the previous) picture of the page after the selected one, round the end,
    // becomes the selection and is scrolled into sight.
    void selectNextPicture(bool forward);
    // The picture the page's selection covers; -1 for none.
    int selectedPicture() const { return m_host.selectedPicture(); }

signals:
    void selectionChanged();

protected:
    // Frames the selected picture, or none; scrolls it into sight when asked.
    virtual void showSelection(bool scrollToIt) = 0;
    PageHost& host() const { return m_host; }

private:
    PageHost& m_host;
};

} // namespace tilemond::host
