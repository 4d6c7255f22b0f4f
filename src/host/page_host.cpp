#include "host/page_host.h"

#include "host/page_window.h"
#include "page/page_document.h"
#include "page/page_save.h"
#include "page/picture_location.h"
#include "page/unsaved_files.h"
#include "pictures/picture_file.h"
#include "platform/prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace tilemond::host {

namespace {

const QString HostTitle = QStringLiteral("Tilemond Page Host");

void tellFailure(const Outcome<void>& done)
{
    if (!done)
        prompts().messageBox(done.error(), HostTitle, MsgBox::OkOnly | MsgBox::Information);
}

} // namespace

PageHost::PageHost(QString configFolder)
    : m_configFolder(std::move(configFolder)), m_refresh(std::make_shared<std::function<void()>>()),
      m_bars(std::make_shared<HostCommandBars>(QDir(m_configFolder).filePath("command_bars.json")))
{
    connectMenus();
}

PageHost::~PageHost()
{
    // Controls that the add-in still holds must not reach a host that is gone.
    for (const char* caption : {"Open", "Save", "Quit", "Copy", "Paste", "Undo", "Redo"})
        m_bars->setBuiltInAction(caption, nullptr);
    if (m_page)
        m_page->setPictureLayout(nullptr);
}

QString PageHost::defaultConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

void PageHost::connectMenus()
{
    m_bars->setBuiltInAction("Copy", [this] { copy(); });
    m_bars->setBuiltInAction("Paste", [this] { paste(); });
    m_bars->setBuiltInAction("Undo", [this] { undo(); });
    m_bars->setBuiltInAction("Redo", [this] { redo(); });
    m_bars->setBuiltInAction("Save", [this] { tellFailure(save()); });
    m_bars->setBuiltInAction("Open", [this] {
        const FileChoice choice =
            prompts().openFile(QStringLiteral("Open Page"), QStringLiteral("Pages"),
                               {QStringLiteral("*.htm"), QStringLiteral("*.html")});
        if (!choice.cancelled && !choice.path.isEmpty())
            tellFailure(open(choice.path));
    });
    m_bars->setBuiltInAction("Quit", [] { QCoreApplication::quit(); });
    // "Save As" needs a window to ask for the new name: the desktop window answers its click.
}

Outcome<void> PageHost::open(const QString& path)
{
    std::string bytes;
    if (Outcome<void> read = readPageFile(path, bytes); !read)
        return read;
    // Browsers read these files as XML, whatever their content.
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool xml = suffix == "xhtml" || suffix == "xht" || suffix == "xml";
    m_page = std::make_shared<PageModel>(std::move(bytes), xml);
    m_page->setPictureLayout([this](std::size_t picture) { return laidOutPicture(picture); });
    m_laidOut.clear();
    m_laidOutSource.clear();
    m_path = QFileInfo(path).absoluteFilePath();
    m_savedState = m_page->source().history().state();
    m_stamp = stampOf(m_path);
    m_pictures.clear();
    removeStaleUnsavedFiles(QFileInfo(m_path).absolutePath());
    return {};
}

void PageHost::setUnsavedFolder(const QString& folder)
{
    m_pictures.setUnsavedFolder(folder);
    removeStaleUnsavedFiles(folder);
}

Outcome<void> PageHost::save()
{
    return saveAs(m_path);
}

Outcome<void> PageHost::saveAs(const QString& path)
{
    if (!m_page)
        return Unexpected(QStringLiteral("Cannot save: no page is open."));
    const QString target = QFileInfo(path).absoluteFilePath();
    if (target == m_path && stampOf(m_path) != m_stamp)
        return Unexpected(
            QStringLiteral("Cannot save \"%1\": the page on disk was %2 since it was opened; "
                           "nothing was written. Save it under another name to keep both.")
                .arg(QDir::toNativeSeparators(m_path),
                     stampOf(m_path).exists ? QStringLiteral("changed by someone else")
                                            : QStringLiteral("removed")));
    m_leftBehind.clear();
    if (Outcome<void> saved = savePage(*m_page, m_pictures, m_path, path, m_leftBehind); !saved)
        return saved;
    m_path = target;
    m_savedState = m_page->source().history().state();
    m_stamp = stampOf(m_path);
    return {};
}

bool PageHost::hasUnsavedChanges() const
{
    return m_page && m_page->source().history().state() != m_savedState;
}

const std::string& PageHost::source() const
{
    static const std::string none;
    return m_page ? m_page->source().bytes() : none;
}

QImage PageHost::picture(std::string_view src) const
{
    if (!m_page)
        return {};
    return pictureNamed(src, m_pictures, pictureFolder(m_page->parsed(), m_path))
        .value_or(QImage());
}

void PageHost::copy()
{
    if (!m_page) {
        m_lastCopy = {};
        return;
    }
    // Laid out afresh: the window the layout follows may have changed its width since.
    m_laidOut.clear();
    const int selected = selectedPicture();
    const auto laidOut = selected < 0 ? std::nullopt : laidOutPicture(std::size_t(selected));
    m_lastCopy = copySelection(*m_page, m_pictures, m_path,
                               laidOut ? std::optional(laidOut->size) : std::nullopt);
}

std::optional<LaidOutPicture> PageHost::laidOutPicture(std::size_t picture)
{
    if (!m_layout || !m_page)
        return {};
    if (m_laidOut.empty() || m_laidOutSource != source()) {
        m_laidOutSource = source();
        m_laidOut = m_layout(m_laidOutSource, m_path, pictureAddresses());
    }
    return picture < m_laidOut.size() ? m_laidOut[picture] : std::nullopt;
}

std::vector<std::string> PageHost::pictureAddresses()
{
    std::vector<std::string> srcs;
    if (!m_page)
        return srcs;
    const PageElements& page = m_page->parsed();
    const std::optional<std::string> images = "IMG";
    for (std::size_t i = 0, count = page.count(images); i < count; ++i) {
        const auto* src = page.at(images, i).attribute("src");
        srcs.push_back(src ? src->value : std::string());
    }
    return srcs;
}

void PageHost::paste()
{
    if (m_page)
        pasteClipboard(*m_page, m_pictures, m_path);
}

bool PageHost::undo()
{
    const auto span = m_page ? m_page->source().undo() : std::nullopt;
    if (span)
        m_page->select(span->first, span->second);
    return span.has_value();
}

bool PageHost::redo()
{
    const auto span = m_page ? m_page->source().redo() : std::nullopt;
    if (span)
        m_page->select(span->first, span->second);
    return span.has_value();
}

int PageHost::selectedPicture()
{
    if (!m_page)
        return -1;
    const PageElements& page = m_page->parsed();
    const TrackedSpan& selection = m_page->selection();
    const std::optional<std::string> images = "IMG";
    for (std::size_t i = 0, count = page.count(images); i < count; ++i) {
        const Placement image = page.place(page.at(images, i));
        if (image.start == selection.begin && image.tagEnd == selection.end)
            return int(i);
    }
    return -1;
}

void PageHost::raiseWindowActivate()
{
    const auto window = activeWindow();
    m_windowActivate.raise(window.get());
}

void PageHost::raiseWindowDeactivate()
{
    const auto window = activeWindow();
    m_windowDeactivate.raise(window.get());
}

void PageHost::setRefreshHandler(std::function<void()> handler)
{
    *m_refresh = std::move(handler);
}

DocumentPtr PageHost::activeDocument()
{
    return m_page ? std::make_shared<PageDocument>(m_page) : nullptr;
}

PageWindowPtr PageHost::activeWindow()
{
    return m_page ? std::make_shared<HostPageWindow>(m_page, m_refresh) : nullptr;
}

Connection PageHost::onWindowActivate(WindowHandler handler)
{
    return m_windowActivate.subscribe(std::move(handler));
}

Connection PageHost::onWindowDeactivate(WindowHandler handler)
{
    return m_windowDeactivate.subscribe(std::move(handler));
}

} // namespace tilemond::host
