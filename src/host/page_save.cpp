#include "host/page_save.h"

#include "host/carried_pictures.h"
#include "host/picture_location.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>

namespace tilemond::host {

namespace {

struct SrcEdit
{
    std::size_t begin;
    std::size_t end;
    std::string text;
};

// The picture files of one save attempt, removed again unless the save succeeds.
class WrittenFiles
{
public:
    ~WrittenFiles()
    {
        if (m_kept)
            return;
        for (const QString& file : m_files)
            QFile::remove(file);
        for (const QString& folder : m_folders)
            QDir().rmdir(folder);
    }

    FileError write(const PastedPictures::Placement& placement)
    {
        if (auto error = makeFolderOf(placement.file))
            return error;
        if (QFileInfo::exists(placement.file))
            return QStringLiteral(
                       "Cannot save the picture \"%1\": a file of that name appeared meanwhile.")
                .arg(QDir::toNativeSeparators(placement.file));
        const EncodedPicture& encoded = placement.encoded.result();
        if (!encoded.error.isEmpty())
            return QStringLiteral("Cannot save the picture \"%1\": %2")
                .arg(QDir::toNativeSeparators(placement.file), encoded.error);
        const QByteArray& bytes = encoded.bytes;
        if (auto error =
                writeNewFile(placement.file, std::string_view(bytes.constData(), bytes.size())))
            return error;
        m_files.push_back(placement.file);
        return std::nullopt;
    }

    FileError copy(const QString& from, const QString& to)
    {
        if (auto error = makeFolderOf(to))
            return error;
        QFile file(from);
        if (!file.copy(to))
            return QStringLiteral("Cannot copy the picture \"%1\" to \"%2\": %3")
                .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to),
                     file.errorString());
        m_files.push_back(to);
        return std::nullopt;
    }

    void keep() { m_kept = true; }

private:
    FileError makeFolderOf(const QString& file)
    {
        const QString folder = QFileInfo(file).absolutePath();
        if (QFileInfo(folder).isDir())
            return std::nullopt;
        if (!QDir().mkpath(folder))
            return QStringLiteral(
                       "Cannot save the picture \"%1\": the folder \"%2\" cannot be made.")
                .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(folder));
        m_folders.push_back(folder);
        return std::nullopt;
    }

    std::vector<QString> m_files;
    std::vector<QString> m_folders;
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

FileError savePage(PageModel& page, PastedPictures& pictures, const QString& fromPath,
                   const QString& path)
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

    WrittenFiles written;
    for (const auto& placement : placements)
        if (auto error = written.write(placement))
            return error;
    for (const auto& picture : carried)
        if (picture.copy)
            if (auto error = written.copy(picture.copy->first, picture.copy->second))
                return error;
    const std::string& current = page.source().bytes();
    if (auto error = writeFileAtomically(path, edits.empty() ? current : withEdits(current, edits)))
        return error;
    written.keep();

    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit)
        page.source().rewrite(edit->begin, edit->end, edit->text);
    for (const auto& placement : placements)
        pictures.forget(placement.src);
    return std::nullopt;
}

} // namespace tilemond::host
