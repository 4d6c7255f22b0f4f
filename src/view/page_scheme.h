#pragma once

#include "host/page_host.h"

#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace tilemond::view {

// Serves the open page to the browser engine as the host holds it, under addresses of its own
// ("tilemond-page:" and the file's path): the page's bytes as they are now, the pictures pasted
// and not saved yet from memory, and the page's other local files from disk. The scheme is
// registered before any application object is made, by loading this library.
class PageScheme final : public QWebEngineUrlSchemeHandler
{
public:
    static constexpr char Name[] = "tilemond-page";

    explicit PageScheme(host::PageHost& host, QObject* parent = nullptr)
        : QWebEngineUrlSchemeHandler(parent), m_host(host)
    {
    }

    // The address the page at this path is shown under.
    static QUrl pageUrl(const QString& pagePath);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    host::PageHost& m_host;
};

} // namespace tilemond::view
