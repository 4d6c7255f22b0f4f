#include "host/page_layout.h"

#include "platform/rounding.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace tilemond::host {
namespace {

// A page that takes longer is laid out without the engine: the sizes fall back to attributes.
constexpr int kLayoutMilliseconds = 20000;
// The most a page may weigh to be handed over from memory; a larger one is read from its file.
constexpr std::size_t kMaxContentBytes = 1 << 20;

// Lets the engine read the page's own files and data: addresses, never the network.
class LocalOnly final : public QWebEngineUrlRequestInterceptor
{
public:
    void interceptRequest(QWebEngineUrlRequestInfo& request) override
    {
        static const QStringList allowed = {QStringLiteral("file"), QStringLiteral("data"),
                                            QStringLiteral("blob"), QStringLiteral("about")};
        request.block(!allowed.contains(request.requestUrl().scheme()));
    }
};

// Waits for a signal of the engine, at most until the deadline; false when it came too late.
template <typename Start>
bool waitFor(QEventLoop& loop, const QTimer& deadline, Start start)
{
    bool arrived = false;
    start([&] {
        arrived = true;
        loop.quit();
    });
    if (!arrived && deadline.isActive())
        loop.exec();
    return arrived;
}

// For each picture the engine shows: its src attribute and the size of its box.
const QString kPictureBoxes = QStringLiteral(
    "Array.from(document.images).map(i => { const r = i.getBoundingClientRect();"
    " return [i.getAttribute('src') || '', r.width, r.height,"
    " i.complete && i.naturalWidth > 0 && getComputedStyle(i).display != 'none']; })");

} // namespace

bool layoutSizesPictures(std::string_view source)
{
    static const QRegularExpression sizing(
        QStringLiteral("<style|stylesheet|\\sstyle\\s*=|\\s(width|height)\\s*=\\s*[\"']?[0-9.]+%"),
        QRegularExpression::CaseInsensitiveOption);
    return sizing.match(QString::fromUtf8(source.data(), qsizetype(source.size()))).hasMatch();
}

std::vector<std::optional<QSize>> laidOutPictureSizes(const std::string& source,
                                                      const QString& pagePath,
                                                      const std::vector<std::string>& srcs,
                                                      int viewportWidth)
{
    std::vector<std::optional<QSize>> sizes(srcs.size());
    QWebEngineProfile profile; // off the record: nothing of the page is kept
    LocalOnly localOnly;
    profile.setUrlRequestInterceptor(&localOnly);
    QWebEnginePage page(&profile);
    page.settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    page.settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    QWebEngineView view;
    view.setPage(&page);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(viewportWidth, 900);
    view.show();

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(kLayoutMilliseconds);
    const QUrl url = QUrl::fromLocalFile(pagePath);
    bool loaded = false;
    const bool finished = waitFor(loop, deadline, [&](auto done) {
        QObject::connect(
            &page, &QWebEnginePage::loadFinished, &loop,
            [&loaded, done](bool ok) {
                loaded = ok;
                done();
            },
            Qt::SingleShotConnection);
        if (source.size() <= kMaxContentBytes)
            page.setContent(QByteArray::fromStdString(source), QStringLiteral("text/html"), url);
        else
            page.load(url);
    });
    QVariant boxes;
    if (!finished || !loaded ||
        !waitFor(loop, deadline, [&](auto done) {
            page.runJavaScript(kPictureBoxes, QWebEngineScript::ApplicationWorld,
                               [&boxes, done](const QVariant& result) {
                                   boxes = result;
                                   done();
                               });
        }))
        return sizes;

    // The engine's pictures in page order, matched to ours by src: a picture the engine does not
    // count (inside a <template>) gets no size and does not shift the others.
    const QVariantList shown = boxes.toList();
    qsizetype next = 0;
    for (std::size_t i = 0; i < srcs.size() && next < shown.size(); ++i) {
        const QVariantList box = shown[next].toList();
        if (box.size() != 4 || box[0].toString().toStdString() != srcs[i])
            continue;
        ++next;
        const QSize size(roundToEven(box[1].toDouble()), roundToEven(box[2].toDouble()));
        if (box[3].toBool() && !size.isEmpty())
            sizes[i] = size;
    }
    return sizes;
}

} // namespace tilemond::host
