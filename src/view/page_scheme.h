#pragma once

#include "host/page_host.h"

#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace tilemond::view {

// Serves the open page to the browser engine under addresses of its own ("tilemond-page:" and
// the file's path): the page's bytes as given, the pictures pasted and not saved yet as the host
// keeps them, and the page's other local files from disk. The scheme is
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
    // The page's bytes from now on.
    void serve(std::string source) { m_source = std::move(source); }
    const std::string& served() const { return m_source; }
    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    host::PageHost& m_host;
    std::string m_source;
};

} // namespace tilemond::view
