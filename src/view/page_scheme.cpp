#include "view/page_scheme.h"

#include "pictures/bounded_read.h"

#include <QBuffer>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace tilemond::view {
namespace {

// The most a file the page names may weigh to be shown.
constexpr qint64 kMaxFileBytes = qint64(256) << 20;

void registerScheme()
{
    QWebEngineUrlScheme scheme(PageScheme::Name);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Only local pages reach it, as they reach files.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}
Q_CONSTRUCTOR_FUNCTION(registerScheme)

void reply(QWebEngineUrlRequestJob* job, const QByteArray& type, QByteArray bytes)
{
    auto* body = new QBuffer(job);
    body->setData(std::move(bytes));
    job->reply(type, body);
}

} // namespace

QUrl PageScheme::pageUrl(const QString& pagePath)
{
    QUrl url;
    url.setScheme(QLatin1String(Name));
    url.setPath(pagePath);
    return url;
}

void PageScheme::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QString path = job->requestUrl().path();
    if (path == m_host.pagePath()) {
        reply(job, m_host.pageIsXml() ? "application/xhtml+xml" : "text/html",
              QByteArray(m_source.data(), qsizetype(m_source.size())));
        return;
    }
    const QUrl page = pageUrl(m_host.pagePath());
    for (const std::string& src : m_host.pastedSrcs()) {
        if (page.resolved(QUrl(QString::fromStdString(src))).path() != path)
            continue;
        QByteArray png;
        QBuffer out(&png);
        m_host.pastedPicture(src).save(&out, "PNG", 100); // quickly: it is never stored
        reply(job, "image/png", png);
        return;
    }
    const Outcome<QByteArray> bytes = readRegularFile(path, kMaxFileBytes);
    if (!bytes) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    reply(job, QMimeDatabase().mimeTypeForFileNameAndData(path, *bytes).name().toLatin1(), *bytes);
}

} // namespace tilemond::view
