#include "view/engine_page_view.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>

namespace tilemond::view {
namespace {

constexpr int kFrameWidth = 3;

// Our scripts run apart from the page's (which do not run at all) and wait for no answer.
void runScript(QWebEnginePage& page, const QString& script,
               const std::function<void(const QVariant&)>& answered = {})
{
    if (answered)
        page.runJavaScript(script, QWebEngineScript::ApplicationWorld, answered);
    else
        page.runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

} // namespace

// A page that goes nowhere but where the view sends it: links and forms lead nowhere.
class EnginePageView::Page final : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;
    QUrl shown;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        return !isMainFrame || url == shown;
    }
};

EnginePageView::EnginePageView(host::PageHost& host, QWidget* parent)
    : PageView(host, parent), m_localOnly({QString::fromLatin1(PageScheme::Name)}), m_scheme(host),
      m_page(new Page(&m_profile)), m_view(new QWebEngineView(this))
{
    m_profile.setUrlRequestInterceptor(&m_localOnly);
    m_profile.installUrlSchemeHandler(PageScheme::Name, &m_scheme);
    m_page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    m_page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    m_view->setPage(m_page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    connect(m_page, &QWebEnginePage::loadFinished, this, [this] {
        runScript(*m_page,
                  QStringLiteral("scrollTo(%1, %2)").arg(m_scrolled.x()).arg(m_scrolled.y()));
        measure();
    });
}

EnginePageView::~EnginePageView()
{
    // The page goes before the profile it lives in.
    m_view->setPage(nullptr);
    delete m_page;
}

void EnginePageView::refresh()
{
    if (host().source() == m_scheme.served() && host().pagePath() == m_shownPath) {
        showSelection(false); // an edit of nothing but the selection
        return;
    }
    m_scheme.serve(host().source());
    m_shownPath = host().pagePath();
    if (!m_loading)
        m_scrolled = m_page->scrollPosition();
    m_loading = true;
    m_boxes.clear();
    m_page->shown = m_shownPath.isEmpty() ? QUrl(QStringLiteral("about:blank"))
                                          : PageScheme::pageUrl(m_shownPath);
    m_page->load(m_page->shown);
}

void EnginePageView::measure(const std::function<void()>& then)
{
    runScript(*m_page,
              QStringLiteral("[document.documentElement.clientWidth, %1]")
                  .arg(layout::kPictureBoxesScript),
              [this, then](const QVariant& answer) {
                  const QVariantList measured = answer.toList();
                  if (measured.size() != 2)
                      return;
                  m_loading = false;
                  m_layoutWidth = measured[0].toInt();
                  m_boxes = layout::matchPictureBoxes(measured[1], host().pictureAddresses());
                  showSelection(false);
                  emit shown();
                  if (then)
                      then();
              });
}

int EnginePageView::layoutWidth() const
{
    return m_layoutWidth > 0 ? m_layoutWidth : width();
}

std::optional<QRect> EnginePageView::pictureInView(int n) const
{
    if (n < 0 || std::size_t(n) >= m_boxes.size() || !m_boxes[std::size_t(n)])
        return std::nullopt;
    return m_boxes[std::size_t(n)]->translated(m_view->pos() - m_page->scrollPosition().toPoint());
}

void EnginePageView::showSelection(bool scrollToIt)
{
    const auto box = pictureInView(selectedPicture());
    if (!box) {
        runScript(*m_page, QStringLiteral("document.querySelector('tilemond-frame')?.remove()"));
        return;
    }
    // Drawn over the page, not into it: the page's style sheets do not reach the frame, nor
    // does a click.
    const QRect inPage = m_boxes[std::size_t(selectedPicture())].value();
    const int width = std::min({kFrameWidth, inPage.width() / 2, inPage.height() / 2});
    runScript(
        *m_page,
        QStringLiteral("(() => { let f = document.querySelector('tilemond-frame');"
                       " if (!f) { f = document.createElement('tilemond-frame');"
                       " document.documentElement.append(f); }"
                       " f.style.cssText = 'all:initial; position:absolute; box-sizing:border-box;"
                       " pointer-events:none; z-index:2147483647; left:%1px; top:%2px; width:%3px;"
                       " height:%4px; border:%5px solid %6';"
                       " if (%7) f.scrollIntoView({block: 'nearest', inline: 'nearest'}); })()")
            .arg(inPage.x())
            .arg(inPage.y())
            .arg(inPage.width())
            .arg(inPage.height())
            .arg(width)
            .arg(palette().color(QPalette::Highlight).name(),
                 scrollToIt ? QStringLiteral("true") : QStringLiteral("false")));
}

bool EnginePageView::eventFilter(QObject* watched, QEvent* event)
{
    // The engine takes input in a widget of its own inside the view, made when it needs one.
    if (watched == m_view) {
        if (event->type() == QEvent::ChildAdded)
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton)
            clicked(static_cast<QWidget*>(watched)->mapTo(this, press->position().toPoint()));
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            selectNextPicture(key->key() == Qt::Key_Tab);
            return true;
        }
    }
    return false;
}

void EnginePageView::clicked(QPoint at)
{
    // Measured anew: parts of the page may have scrolled on their own.
    measure([this, at] {
        for (int n = 0; n < int(m_boxes.size()); ++n)
            if (const auto box = pictureInView(n); box && box->contains(at)) {
                selectPicture(n);
                return;
            }
        selectPicture(-1);
    });
}

void EnginePageView::resizeEvent(QResizeEvent* event)
{
    PageView::resizeEvent(event);
    if (!m_loading)
        measure(); // the page lays out anew in a window of another width
}

} // namespace tilemond::view
