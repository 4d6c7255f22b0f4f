#pragma once

#include "page/laid_out_picture.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QWebEngineUrlRequestInterceptor>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWebEnginePage;
class QWebEngineUrlSchemeHandler;

namespace tilemond::layout {

// The width of the browser window pages are laid out in, unless told another.
inline constexpr int kDefaultViewportWidth = 1280;

// The property of a window whose paint is looked at even where no desktop shows windows.
inline constexpr char kPaintedWithoutDesktop[] = "paintedWithoutDesktop";

// Lets the engine read the page's own files and data, and addresses of the schemes
// `alsoAllowed`: never the network.
class LocalOnly final : public QWebEngineUrlRequestInterceptor
{
public:
    explicit LocalOnly(const QStringList& alsoAllowed = {});
    void interceptRequest(QWebEngineUrlRequestInfo& request) override;

private:
    QStringList m_allowed;
};

// A script of ours that answers, for each picture the engine counts: its src attribute, the box
// of its pixels in the page (inside its border and padding), whether it shows, and what of its
// style places it (see host::LaidOutPicture): margins the page leaves to the browser are read back
// as "auto" (they follow the picture's width), a width given as a share as given.
extern const QString kPictureBoxesScript;
// A picture as the engine shows it.
struct PictureOnPage
{
    QRect box;                                // of its pixels, in the page
    std::map<std::string, std::string> style; // see host::LaidOutPicture
};
// Each of the page's img elements (their srcs in document order, as `srcs`), from what
// kPictureBoxesScript answered: nullopt for one the engine does not show.
std::vector<std::optional<PictureOnPage>> matchPictures(const QVariant& shown,
                                                        const std::vector<std::string>& srcs);
// Their boxes alone.
std::vector<std::optional<QRect>> matchPictureBoxes(const QVariant& shown,
                                                    const std::vector<std::string>& srcs);

// Whether a browser may show the page's pictures at other sizes than their width and height
// attributes say: a style sheet, a style attribute or a percentage can size them. Pages without
// any of these need no browser engine to know their pictures' sizes.
bool layoutSizesPictures(std::string_view source);

// A page laid out and painted by a browser engine (Chromium, through Qt WebEngine) as a window
// `viewportWidth` pixels wide shows it. Nothing is fetched from the network and the page's own
// scripts do not run. A page that cannot be laid out within 20 seconds is not: ok() is false and
// every answer empty. Needs a QApplication.
class LaidOutPage
{
public:
    // `pagePath` names the page for its relative addresses.
    LaidOutPage(const std::string& source, const QString& pagePath, int viewportWidth);
    // The page that `server` serves at `url`, under a scheme of its own.
    LaidOutPage(const QUrl& url, QWebEngineUrlSchemeHandler& server, int viewportWidth);
    ~LaidOutPage();
    LaidOutPage(const LaidOutPage&) = delete;
    LaidOutPage& operator=(const LaidOutPage&) = delete;

    bool ok() const { return m_ok; }
    // The page's pictures, as matchPictures gives them.
    std::vector<std::optional<PictureOnPage>> pictures(const std::vector<std::string>& srcs);
    // The page as painted, `area` (in the page) inside it; null when that cannot be had.
    QImage painted(const QRect& area);

private:
    void load(int viewportWidth, const std::function<void(QWebEnginePage&)>& start);

    struct Engine;
    std::unique_ptr<Engine> m_engine;
    bool m_ok = false;
};

// The page's pictures as the engine lays them out (see LaidOutPage::pictures) in a window
// `viewportWidth` wide; nothing (and no engine started) for a page that layoutSizesPictures
// finds its attributes enough for.
std::vector<std::optional<host::LaidOutPicture>>
laidOutPictures(const std::string& source, const QString& pagePath,
                const std::vector<std::string>& srcs, int viewportWidth);

// laidOutPictures at one width, as the page host takes its picture layout.
inline auto pictureLayoutAt(int viewportWidth)
{
    return [viewportWidth](const std::string& source, const QString& pagePath,
                           const std::vector<std::string>& srcs) {
        return laidOutPictures(source, pagePath, srcs, viewportWidth);
    };
}

} // namespace tilemond::layout
