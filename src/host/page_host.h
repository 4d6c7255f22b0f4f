#pragma once

#include "host/command_bars.h"
#include "host/page_clipboard.h"
#include "host_api/application.h"
#include "page/page_file.h"
#include "page/page_model.h"
#include "page/pasted_pictures.h"

#include <QString>

namespace tilemond::host {

// The open page at one moment, as a check of an edit needs it: its bytes, where it is, its
// pictures' srcs in page order and the one selected (-1: none).
struct PageState
{
    std::string source;
    QString path;
    std::vector<std::string> srcs;
    int picture = -1;
};

// The page host without a window: one open page, its selection, the command
// bars with Edit > Copy and Edit > Paste, and the window activation events.
class PageHost final : public Application
{
public:
    // configFolder holds the lasting command bar controls.
    explicit PageHost(QString configFolder = defaultConfigFolder());
    ~PageHost() override;
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    static QString defaultConfigFolder();
    // Where the host keeps what lasts from one run to the next.
    QString configFolder() const { return m_configFolder; }

    // On failure the previous page stays open.
    Outcome<void> open(const QString& path);
    // Refuses to write over the page's file when someone else removed, replaced or wrote it
    // since: Save As keeps the changes under another name.
    Outcome<void> save();
    // The page and its pasted pictures go next to path; the page then lives there.
    Outcome<void> saveAs(const QString& path);
    // The picture files that the last save left behind, and why (see savePage).
    const QStringList& leftBehind() const { return m_leftBehind; }
    bool hasUnsavedChanges() const;
    QString pagePath() const { return m_path; }
    // The page's bytes as they are now; empty without a page.
    const std::string& source() const;

    // How pasted pictures are written: those pasted from now on, and all at the next save.
    void setPictureFormat(const PictureFormat& format) { m_pictures.setFormat(format); }
    const PictureFormat& pictureFormat() const { return m_pictures.format(); }
    // Pasted pictures wait for the save in files beside the page; a page that is to be saved
    // elsewhere has them wait there instead, and leaves its own folder as it is.
    void setUnsavedFolder(const QString& folder);

    // The picture a src of the page names (pasted or a file), for the page view.
    QImage picture(std::string_view src) const;
    // The pictures pasted and not saved yet, by their srcs.
    std::vector<std::string> pastedSrcs() const { return m_pictures.srcs(); }
    QImage pastedPicture(std::string_view src) const { return m_pictures.find(src); }
    // Whether the page is read as XML (an .xhtml file).
    bool pageIsXml() const { return m_page && m_page->isXml(); }

    // How a browser lays out the page's pictures (given the page's bytes, its path and its
    // pictures' srcs in page order; nullopt or nothing where unknown). Edit > Copy gives a
    // selected picture at its size, without a layout at the size its width and height give; the
    // page's elements tell their style from it.
    using PictureLayout = std::function<std::vector<std::optional<LaidOutPicture>>(
        const std::string& source, const QString& pagePath, const std::vector<std::string>& srcs)>;
    void setPictureLayout(PictureLayout layout) { m_layout = std::move(layout); }

    // Edit > Copy and Edit > Paste (one step to undo).
    void copy();
    void paste();
    // How the last Edit > Copy went: it failed when a selected picture gave no pixels, saying why
    // as it follows the picture's name ("is a remote address, ...").
    const Outcome<void>& lastCopy() const { return m_lastCopy; }
    // Edit > Undo and Edit > Redo: a paste, or a whole split, at a time; the bytes put back
    // become the selection. False when there is nothing to undo (redo).
    bool undo();
    bool redo();
    // The picture the selection covers exactly, as its place among the page's pictures; -1 when
    // it covers none.
    int selectedPicture();
    // The src attribute of each of the page's pictures, in page order ("" for none).
    std::vector<std::string> pictureAddresses();
    PageState state() { return {source(), pagePath(), pictureAddresses(), selectedPicture()}; }

    void raiseWindowActivate();
    void raiseWindowDeactivate();
    // Re-renders the page view; called by the page window's Refresh.
    void setRefreshHandler(std::function<void()> handler);

    DocumentPtr activeDocument() override;
    PageWindowPtr activeWindow() override;
    CommandBarsPtr commandBars() override { return m_bars; }
    Connection onWindowActivate(WindowHandler handler) override;
    Connection onWindowDeactivate(WindowHandler handler) override;

private:
    void connectMenus();
    // The layout of the page's picture of this place, where known: the one of the last Edit >
    // Copy while the page stays as it was then, else laid out anew.
    std::optional<LaidOutPicture> laidOutPicture(std::size_t picture);

    QString m_configFolder;
    std::shared_ptr<PageModel> m_page;
    QString m_path;
    int m_savedState = 0; // the history's state the file on disk holds
    FileStamp m_stamp;    // the page file as this host last read or wrote it
    PastedPictures m_pictures;
    Outcome<void> m_lastCopy;
    QStringList m_leftBehind;
    PictureLayout m_layout;
    std::string m_laidOutSource; // the bytes m_laidOut was laid out from
    std::vector<std::optional<LaidOutPicture>> m_laidOut;
    std::shared_ptr<std::function<void()>> m_refresh;
    std::shared_ptr<HostCommandBars> m_bars;
    Event<PageWindow*> m_windowActivate;
    Event<PageWindow*> m_windowDeactivate;
};

} // namespace tilemond::host
