#pragma once

#include "pictures/picture_encoding.h"

#include <QFuture>
#include <QImage>
#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tilemond::host {

// A pasted picture's encoding: in an unsaved file beside the page (see unsaved_files.h), or in
// memory where none could be written.
struct KeptEncoding
{
    EncodedPicture encoded; // without its bytes when they are in the file
    QString file;
};

// Pictures pasted into the page, kept by their src until the page is saved. Each is encoded in
// the format of the moment on the other cores as soon as it is pasted and then kept as its
// encoding only, in an unsaved file beside the page, so that the pieces of a large picture hold
// neither its size once more nor their own bytes in memory; a save in another format encodes
// them again. Their files go into a folder next to the page ("index_files" for "index.html")
// under names with the extension of their type that never overwrite a file already there and
// that no other picture of the page names, even one whose file is missing. The unsaved files go
// when their pictures are saved or let go of.
class PastedPictures
{
public:
    PastedPictures() = default;
    ~PastedPictures() { clear(); }
    PastedPictures(const PastedPictures&) = delete;
    PastedPictures& operator=(const PastedPictures&) = delete;

    // Where a kept picture goes when the page is written to a given path.
    struct Placement
    {
        std::string src;    // as the page names it now
        std::string newSrc; // as the page must name it there
        QString file;
        QFuture<KeptEncoding> encoded;
    };
    // The files that the page's other pictures name.
    using PageFiles = std::set<QString>;

    // Keeps the picture of the page at pagePath and gives its src, relative to srcFolder (where
    // the page's relative addresses start: its own folder or its base's). pageFiles is asked once
    // per folder, on the first picture pasted for it.
    std::string add(const QImage& picture, const QString& pagePath, const QString& srcFolder,
                    const std::function<PageFiles()>& pageFiles);
    bool contains(std::string_view src) const { return m_pictures.find(src) != m_pictures.end(); }
    // The srcs of the kept pictures.
    std::vector<std::string> srcs() const;
    // The kept picture named by src; a null image when there is none.
    QImage find(std::string_view src) const;
    // The format of the pictures pasted from now on and of every picture the next save writes.
    void setFormat(const PictureFormat& format) { m_format = format; }
    const PictureFormat& format() const { return m_format; }
    // Where the pictures pasted from now on wait for the save: the page's folder unless set.
    void setUnsavedFolder(const QString& folder) { m_unsavedFolder = folder; }

    // Places the kept pictures among srcs for the page to be written at pagePath, in the format
    // of the moment: a picture keeps its name when that file is free there and has the
    // extension of its type, else gets a new one.
    std::vector<Placement> place(const std::vector<std::string>& srcs, const QString& pagePath,
                                 const QString& srcFolder, PageFiles pageFiles) const;
    // The picture is on disk now.
    void forget(const std::string& src);
    // Another page is open, or none.
    void clear();

    // The folder that holds the pictures of the page at pagePath.
    static QString folderOf(const QString& pagePath);

private:
    struct Kept
    {
        QImage picture;       // until its encoding is done
        PictureFormat format; // as it was asked for
        PictureType type;     // as it is written
        QFuture<KeptEncoding> encoded;
    };

    // Waits for the picture's encoding and removes its unsaved file.
    static void letGo(Kept& kept);

    // Names are handed out in order, so each is tried once however many pictures there are.
    struct FolderNames
    {
        int next = 1;
        std::set<QString> taken; // files
    };

    std::string freeName(const QString& pagePath, const QString& srcFolder, FolderNames& names,
                         PictureType type) const;
    // Lets go of the pictures whose encoding is done, and waits for the oldest while more are
    // being encoded than the other cores can take on.
    void keepEncodingsOnly();

    std::map<std::string, Kept, std::less<>> m_pictures;
    std::map<QString, FolderNames> m_folders;
    std::deque<std::string> m_encoding; // srcs of pictures still held, oldest first
    PictureFormat m_format;
    QString m_unsavedFolder;
};

} // namespace tilemond::host
