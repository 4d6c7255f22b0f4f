#pragma once

#include "app/made_folders.h"
#include "host/api/page_document.h"

#include <QStringList>

namespace tilemond::app {

// The page's own picture files that a copy of the page saved elsewhere needs beside it: each
// picture named by a path relative to the page (and not above its folder) that exists beside
// the original and is missing beside the copy. Copies made here go again unless kept.
class CarriedPictures
{
public:
    CarriedPictures() = default;
    ~CarriedPictures();
    CarriedPictures(const CarriedPictures&) = delete;
    CarriedPictures& operator=(const CarriedPictures&) = delete;

    // The relative srcs of the page's pictures.
    static QStringList relativeSources(host::Document& document);

    // Copies those of srcs that the copy at toPage lacks. Returns an error naming the file.
    QString copy(const QStringList& srcs, const QString& fromPage, const QString& toPage);
    void keep();

private:
    MadeFolders m_folders; // goes after the copies in them
    QStringList m_copies;
};

} // namespace tilemond::app
