#include "page/page_save.h"

#include "page/carried_pictures.h"
#include "page/picture_location.h"
#include "pictures/bounded_read.h"
#include "pictures/picture_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace tilemond::host {

namespace {

struct SrcEdit
{
    std::size_t begin;
    std::size_t end;
    std::string text;
};

// The picture files of one save attempt. Each is written under an unfinished name first and
// takes its own name only once all are on the disk, just before the page that names them; on
// failure all are removed again. Files left unfinished by an attempt that was killed are
// recognised by that name and removed by the next save into the folder.
class WrittenFiles
{
public:
    // Pictures go into folders inside pageFolder, never through a link.
    explicit WrittenFiles(QString pageFolder) : m_pageFolder(std::move(pageFolder)) {}

    ~WrittenFiles()
    {
        if (m_kept)
            return;
        for (const auto& [unfinished, file] : m_files)
            QFile::remove(m_named ? file : unfinished);
        for (const QString& folder : m_folders)
            QDir().rmdir(folder);
    }

    // A picture waiting in an unsaved file gets a second name, so that it stays there for the
    // next attempt whatever becomes of this one.
    Outcome<void> write(const PastedPictures::Placement& placement)
    {
        const KeptEncoding& kept = placement.encoded.result();
        if (!kept.encoded)
            return Unexpected(
                QStringLiteral("Cannot save the picture \"%1\": %2")
                    .arg(QDir::toNativeSeparators(placement.file), kept.encoded.error()));
        return add(placement.file, [&](const QString& unfinished) {
            return kept.file.isEmpty() ? writeNewFile(unfinished, view(*kept.encoded))
                                       : linkNewFile(kept.file, unfinished);
        });
    }

    Outcome<void> copy(const QString& from, const QString& to)
    {
        Outcome<QByteArray> bytes = readRegularFile(from, kMaxPictureBytes);
        if (bytes && !isPictureData(*bytes))
            bytes = Unexpected(QStringLiteral("it is no longer a picture"));
        if (!bytes)
            return Unexpected(QStringLiteral("Cannot copy the picture \"%1\" to \"%2\": %3.")
                                  .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to),
                                       bytes.error()));
        return add(
            to, [&](const QString& unfinished) { return writeNewFile(unfinished, view(*bytes)); });
    }

    // Puts the files on the disk, then gives each its own name, and puts the names there too.
    Outcome<void> name()
    {
        for (const QString& folder : m_written)
            syncFileSystemOf(folder); // at once for all files there; again is cheap
        for (auto file = m_files.begin(); file != m_files.end(); ++file)
            if (Outcome<void> renamed = renameNewFile(file->first, file->second); !renamed) {
                for (auto named = m_files.begin(); named != file; ++named)
                    QFile::rename(named->second, named->first);
                return renamed;
            }
        m_named = true;
        for (const QString& folder : m_written)
            syncFolder(folder);
        return {};
    }

    void keep() { m_kept = true; }

private:
    static constexpr QLatin1StringView kUnfinished{".tilemond-unfinished"};

    static std::string_view view(const QByteArray& bytes)
    {
        return std::string_view(bytes.constData(), std::size_t(bytes.size()));
    }

    // Makes the file under its unfinished name with `make`.
    Outcome<void> add(const QString& file, const std::function<Outcome<void>(const QString&)>& make)
    {
        const QString folder = QFileInfo(file).absolutePath();
        if (Outcome<void> entered = enter(folder); !entered)
            return entered;
        if (QFileInfo::exists(file) || QFileInfo(file).isSymLink())
            return Unexpected(
                QStringLiteral(
                    "Cannot save the picture \"%1\": a file of that name appeared meanwhile.")
                    .arg(QDir::toNativeSeparators(file)));
        const QString unfinished =
            QDir(folder).filePath(QLatin1Char('.') + QFileInfo(file).fileName() + kUnfinished);
        if (Outcome<void> made = make(unfinished); !made)
            return made;
        m_files.emplace_back(unfinished, file);
        return {};
    }

    // Makes the folder where it is missing, refuses one reached through a link, and clears it of
    // what a killed save left unfinished.
    Outcome<void> enter(const QString& folder)
    {
        if (m_written.contains(folder))
            return {};
        if (const QString link = linkOnTheWay(folder); !link.isEmpty())
            return Unexpected(
                QStringLiteral("Cannot save pictures into \"%1\": it is a link; pictures are "
                               "written only into real folders beside the page.")
                    .arg(QDir::toNativeSeparators(link)));
        QStringList made;
        if (Outcome<void> madeAll = makeFolders(folder, made); !madeAll)
            return madeAll;
        m_folders = made + m_folders;
        const QDir written(folder);
        for (const QString& left :
             written.entryList({QLatin1Char('*') + kUnfinished}, QDir::Files | QDir::Hidden))
            QFile::remove(written.filePath(left));
        m_written.insert(folder);
        return {};
    }

    // The first folder from the page's folder down to `folder` that is a link; empty when none.
    QString linkOnTheWay(const QString& folder) const
    {
        const QString inside = QDir(m_pageFolder).relativeFilePath(folder);
        QString path = m_pageFolder;
        for (const QString& part : inside.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            path = QDir(path).filePath(part);
            if (part != QLatin1String("..") && QFileInfo(path).isSymLink())
                return path;
        }
        return QString();
    }

    QString m_pageFolder;
    std::vector<std::pair<QString, QString>> m_files; // unfinished name, own name
    QStringList m_folders; // made for this save, deepest first
    std::set<QString> m_written;
    bool m_named = false;
    bool m_kept = false;
};

// The src attributes of the page's pictures that are kept in memory.
std::vector<const ParsedElement::Attribute*> pastedSrcAttributes(const PageElements& page,
                                                                 const PastedPictures& pictures)
{
    std::vector<const ParsedElement::Attribute*> found;
    for (const auto [image, src] : pictureSrcs(page))
        if (pictures.contains(src->value))
            found.push_back(src);
    return found;
}

std::string withEdits(std::string_view bytes, const std::vector<SrcEdit>& edits)
{
    std::string result;
    std::size_t from = 0;
    for (const SrcEdit& edit : edits) {
        result.append(bytes.substr(from, edit.begin - from)).append(edit.text);
        from = edit.end;
    }
    return result.append(bytes.substr(from));
}

} // namespace

Outcome<void> savePage(PageModel& page, PastedPictures& pictures, const QString& fromPath,
                       const QString& path, QStringList& leftBehind)
{
    const PageElements& parsed = page.parsed();
    const auto srcAttributes = pastedSrcAttributes(parsed, pictures);
    std::vector<std::string> srcs;
    for (const auto* src : srcAttributes)
        srcs.push_back(src->value);
    const auto placements = pictures.place(srcs, path, srcFolder(parsed, path),
                                           filesNamedByPage(parsed, pictures, path));

    std::map<std::string_view, std::string_view> renamed;
    for (const auto& placement : placements)
        if (placement.newSrc != placement.src)
            renamed.emplace(placement.src, placement.newSrc);
    const auto carried = carriedPictures(parsed, pictures, fromPath, path);
    std::map<const ParsedElement::Attribute*, std::string_view> repointed;
    for (const auto& picture : carried)
        if (picture.newSrc)
            repointed.emplace(picture.src, *picture.newSrc);
    std::vector<SrcEdit> edits;
    for (const auto [image, src] : pictureSrcs(parsed)) {
        const auto [begin, end] = parsed.valueSpan(*image, *src);
        if (const auto rename = renamed.find(src->value);
            rename != renamed.end() && pictures.contains(src->value))
            edits.push_back({begin, end, std::string(rename->second)});
        else if (const auto elsewhere = repointed.find(src); elsewhere != repointed.end())
            edits.push_back({begin, end, std::string(elsewhere->second)});
    }
    for (const auto& address : repointedAddresses(parsed, fromPath, path)) {
        const auto [begin, end] = parsed.valueSpan(*address.element, *address.attribute);
        edits.push_back({begin, end, address.newValue});
    }
    std::sort(edits.begin(), edits.end(),
              [](const SrcEdit& one, const SrcEdit& other) { return one.begin < other.begin; });

    WrittenFiles written(QFileInfo(path).absolutePath());
    for (const auto& placement : placements)
        if (Outcome<void> step = written.write(placement); !step)
            return step;
    for (const auto& picture : carried)
        if (picture.copy)
            if (Outcome<void> step = written.copy(picture.copy->first, picture.copy->second); !step)
                return step;
    if (Outcome<void> step = written.name(); !step)
        return step;
    const std::string& current = page.source().bytes();
    if (Outcome<void> step =
            writeFileAtomically(path, edits.empty() ? current : withEdits(current, edits));
        !step)
        return step;
    written.keep();

    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit)
        page.source().rewrite(edit->begin, edit->end, edit->text);
    for (const auto& placement : placements)
        pictures.forget(placement.src);
    for (const auto& picture : carried)
        if (!picture.leftBehind.isEmpty())
            leftBehind << QStringLiteral("The picture \"%1\" was not copied beside the page: %2; "
                                         "the page names it where it is.")
                              .arg(QString::fromStdString(picture.src->value),
                                   picture.leftBehind);
    return {};
}

} // namespace tilemond::host
