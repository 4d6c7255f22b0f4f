#include "layout/page_layout.h"

#include "platform/rounding.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>

namespace tilemond::layout {
namespace {

// A page that takes longer is not laid out at all.
constexpr int kLayoutMilliseconds = 20000;
// The most a page may weigh to be handed over from memory; a larger one is read from its file.
constexpr std::size_t kMaxContentBytes = 1 << 20;
constexpr int kWindowHeight = 900;
constexpr int kMaxWindowHeight = 16384;
// The colour of the mark that tells a fresh frame (see painted).
constexpr QRgb kMark = qRgb(1, 254, 3);

} // namespace

LocalOnly::LocalOnly(const QStringList& alsoAllowed)
    : m_allowed(QStringList{QStringLiteral("file"), QStringLiteral("data"), QStringLiteral("blob"),
                            QStringLiteral("about")} +
                alsoAllowed)
{
}

void LocalOnly::interceptRequest(QWebEngineUrlRequestInfo& request)
{
    request.block(!m_allowed.contains(request.requestUrl().scheme()));
}

const QString kPictureBoxesScript = QStringLiteral(
    "Array.from(document.images).map(i => { const r = i.getBoundingClientRect();"
    " const s = getComputedStyle(i); const px = v => parseFloat(v) || 0;"
    " const left = px(s.borderLeftWidth) + px(s.paddingLeft);"
    " const top = px(s.borderTopWidth) + px(s.paddingTop);"
    " const right = px(s.borderRightWidth) + px(s.paddingRight);"
    " const bottom = px(s.borderBottomWidth) + px(s.paddingBottom);"
    " const place = {'display': s.display, 'float': s.cssFloat, 'vertical-align': s.verticalAlign,"
    " 'max-width': s.maxWidth, 'margin-top': s.marginTop, 'margin-right': s.marginRight,"
    " 'margin-bottom': s.marginBottom, 'margin-left': s.marginLeft};"
    " const width = (i.style.width || i.getAttribute('width') || '').trim();"
    " if (width.endsWith('%')) place['width'] = width;"
    " if (s.display == 'block' && s.cssFloat == 'none') {"
    "   const had = i.hasAttribute('style');"
    "   const was = [i.style.getPropertyValue('width'), i.style.getPropertyPriority('width')];"
    "   const margins = [s.marginLeft, s.marginRight];"
    "   i.style.setProperty('width', (px(s.width) - 2) + 'px', 'important');"
    "   if (s.marginLeft != margins[0]) place['margin-left'] = 'auto';"
    "   if (s.marginRight != margins[1]) place['margin-right'] = 'auto';"
    "   i.style.setProperty('width', was[0], was[1]);"
    "   if (!had) i.removeAttribute('style'); }"
    " return [i.getAttribute('src') || '', r.left + scrollX + left, r.top + scrollY + top,"
    " r.width - left - right, r.height - top - bottom,"
    " i.complete && i.naturalWidth > 0 && s.display != 'none', place]; })");

std::vector<std::optional<PictureOnPage>> matchPictures(const QVariant& shown,
                                                        const std::vector<std::string>& srcs)
{
    std::vector<std::optional<PictureOnPage>> matched(srcs.size());
    // The engine's pictures in page order, matched to ours by src: a picture the engine does not
    // count (inside a <template>) gets no box and does not shift the others.
    const QVariantList pictures = shown.toList();
    qsizetype next = 0;
    for (std::size_t i = 0; i < srcs.size() && next < pictures.size(); ++i) {
        const QVariantList box = pictures[next].toList();
        if (box.size() != 7 || box[0].toString().toStdString() != srcs[i])
            continue;
        ++next;
        const QRect rect(roundToEven(box[1].toDouble()), roundToEven(box[2].toDouble()),
                         roundToEven(box[3].toDouble()), roundToEven(box[4].toDouble()));
        if (!box[5].toBool() || rect.isEmpty())
            continue;
        PictureOnPage& picture = matched[i].emplace(PictureOnPage{rect, {}});
        const QVariantMap style = box[6].toMap();
        for (auto property = style.begin(); property != style.end(); ++property)
            picture.style[property.key().toStdString()] = property.value().toString().toStdString();
    }
    return matched;
}

std::vector<std::optional<QRect>> matchPictureBoxes(const QVariant& shown,
                                                    const std::vector<std::string>& srcs)
{
    std::vector<std::optional<QRect>> boxes;
    for (const auto& picture : matchPictures(shown, srcs))
        boxes.push_back(picture ? std::optional(picture->box) : std::nullopt);
    return boxes;
}

bool layoutSizesPictures(std::string_view source)
{
    static const QRegularExpression sizing(
        QStringLiteral("<style|stylesheet|\\sstyle\\s*=|\\s(width|height)\\s*=\\s*[\"']?[0-9.]+%"),
        QRegularExpression::CaseInsensitiveOption);
    return sizing.match(QString::fromUtf8(source.data(), qsizetype(source.size()))).hasMatch();
}

struct LaidOutPage::Engine
{
    explicit Engine(const QStringList& schemes) : localOnly(schemes) {}

    QWebEngineProfile profile; // off the record: nothing of the page is kept
    LocalOnly localOnly;
    QWebEnginePage page{&profile};
    QWebEngineView view;
    QEventLoop loop;
    QTimer deadline;

    // Runs a script of ours (the page's own do not run) and waits for its result.
    std::optional<QVariant> run(const QString& script)
    {
        std::optional<QVariant> result;
        page.runJavaScript(script, QWebEngineScript::ApplicationWorld,
                           [this, &result](const QVariant& value) {
                               result = value;
                               loop.quit();
                           });
        while (!result && deadline.isActive())
            loop.exec();
        return result;
    }

    void pause(int milliseconds)
    {
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

LaidOutPage::LaidOutPage(const std::string& source, const QString& pagePath, int viewportWidth)
    : m_engine(std::make_unique<Engine>(QStringList{}))
{
    load(viewportWidth, [&](QWebEnginePage& page) {
        const QUrl url = QUrl::fromLocalFile(pagePath);
        if (source.size() <= kMaxContentBytes)
            page.setContent(QByteArray::fromStdString(source), QStringLiteral("text/html"), url);
        else
            page.load(url);
    });
}

LaidOutPage::LaidOutPage(const QUrl& url, QWebEngineUrlSchemeHandler& server, int viewportWidth)
    : m_engine(std::make_unique<Engine>(QStringList{url.scheme()}))
{
    m_engine->profile.installUrlSchemeHandler(url.scheme().toLatin1(), &server);
    load(viewportWidth, [&](QWebEnginePage& page) { page.load(url); });
}

void LaidOutPage::load(int viewportWidth, const std::function<void(QWebEnginePage&)>& start)
{
    Engine& e = *m_engine;
    e.profile.setUrlRequestInterceptor(&e.localOnly);
    e.page.settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    e.page.settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    e.view.setPage(&e.page);
    e.view.setAttribute(Qt::WA_DontShowOnScreen);
    e.view.setProperty(kPaintedWithoutDesktop, true);
    e.view.resize(viewportWidth, kWindowHeight);
    e.view.show();
    e.deadline.setSingleShot(true);
    QObject::connect(&e.deadline, &QTimer::timeout, &e.loop, &QEventLoop::quit);
    e.deadline.start(kLayoutMilliseconds);

    std::optional<bool> loaded;
    QObject::connect(
        &e.page, &QWebEnginePage::loadFinished, &e.loop,
        [&](bool ok) {
            loaded = ok;
            e.loop.quit();
        },
        Qt::SingleShotConnection);
    start(e.page);
    while (!loaded && e.deadline.isActive())
        e.loop.exec();
    m_ok = loaded.value_or(false);
}

LaidOutPage::~LaidOutPage()
{
    // The page goes before the profile it lives in.
    if (m_engine)
        m_engine->view.setPage(nullptr);
}

std::vector<std::optional<PictureOnPage>>
LaidOutPage::pictures(const std::vector<std::string>& srcs)
{
    const auto shown = m_ok ? m_engine->run(kPictureBoxesScript) : std::nullopt;
    return shown ? matchPictures(*shown, srcs)
                 : std::vector<std::optional<PictureOnPage>>(srcs.size());
}

QImage LaidOutPage::painted(const QRect& area)
{
    Engine& e = *m_engine;
    if (!m_ok || area.height() + 40 > kMaxWindowHeight)
        return {};
    e.view.resize(e.view.width(), std::max(kWindowHeight, area.height() + 40));
    const auto scrolled = e.run(QStringLiteral("scrollTo(0, %1); scrollY").arg(area.top() - 20));
    if (!scrolled)
        return {};
    const QRect inView = area.translated(0, -scrolled->toInt());
    if (!QRect(QPoint(), e.view.size()).contains(inView))
        return {};
    // The engine paints a while after it is asked, and a grab shows its last frame. A mark of
    // ours in the window's corner tells the frames apart: once a frame shows it and a later one
    // no longer does, that later frame shows the page as it is.
    const auto frame = [&](bool marked) {
        while (e.deadline.isActive()) {
            const QImage now = e.view.grab().toImage().convertToFormat(QImage::Format_RGB32);
            if (!now.isNull() && (now.pixel(1, 1) == kMark) == marked)
                return now;
            e.pause(20);
        }
        return QImage();
    };
    e.run(QStringLiteral("(() => { const m = document.createElement('div'); m.id = 'tilemond-mark';"
                         " m.style.cssText = 'position:fixed;left:0;top:0;width:3px;height:3px;"
                         "z-index:2147483647;background:#%1'; document.documentElement.append(m);"
                         " return 0; })()")
              .arg(kMark & 0xffffff, 6, 16, QLatin1Char('0')));
    if (frame(true).isNull())
        return {};
    e.run(QStringLiteral("document.getElementById('tilemond-mark').remove(); 0"));
    const QImage page = frame(false);
    return page.isNull() ? QImage() : page.copy(inView);
}

std::vector<std::optional<host::LaidOutPicture>>
laidOutPictures(const std::string& source, const QString& pagePath,
                const std::vector<std::string>& srcs, int viewportWidth)
{
    std::vector<std::optional<host::LaidOutPicture>> pictures;
    if (!layoutSizesPictures(source))
        return pictures;
    LaidOutPage page(source, pagePath, viewportWidth);
    for (auto& picture : page.pictures(srcs))
        pictures.push_back(picture ? std::optional(host::LaidOutPicture{picture->box.size(),
                                                                        std::move(picture->style)})
                                   : std::nullopt);
    return pictures;
}

} // namespace tilemond::layout
