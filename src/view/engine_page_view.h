#pragma once

#include "host/page_view.h"
#include "layout/page_layout.h"
#include "view/page_scheme.h"

#include <QWebEngineProfile>

#include <functional>
#include <optional>
#include <vector>

class QWebEngineView;

namespace tilemond::view {

// The open page as a browser shows it, laid out and painted by the browser engine from the
// host's source. The page's own scripts do not run, its links lead nowhere and nothing comes from
// the network. A click on a picture selects it.
class EnginePageView final : public host::PageView
{
    Q_OBJECT

public:
    explicit EnginePageView(host::PageHost& host, QWidget* parent = nullptr);
    ~EnginePageView() override;

    void refresh() override;
    // The width of the window the page is laid out in, inside its scroll bar.
    int layoutWidth() const;
    // Where picture n of the page shows in this widget, as last laid out; nullopt when it does
    // not show.
    std::optional<QRect> pictureInView(int n) const;
    // True from a refresh that loads the page again until it is shown.
    bool loading() const { return m_loading; }

signals:
    // The page shows the source it was last refreshed to, its pictures' places measured.
    void shown();

protected:
    void showSelection(bool scrollToIt) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Page;

    // Measures the page's places anew; then runs `then`.
    void measure(const std::function<void()>& then = {});
    void clicked(QPoint at);

    QWebEngineProfile m_profile; // off the record: nothing of the page is kept
    layout::LocalOnly m_localOnly;
    PageScheme m_scheme;
    Page* m_page;
    QWebEngineView* m_view;
    QString m_shownPath;
    QPointF m_scrolled; // where the page was scrolled before it was loaded again
    bool m_loading = false;
    int m_layoutWidth = 0;
    std::vector<std::optional<QRect>> m_boxes; // each picture's in the page
};

} // namespace tilemond::view
