#include "app/output_target.h"

#include <QDir>
#include <QFileInfo>

namespace tilemond::app {

OutputTarget::OutputTarget(const SplitOptions& options)
    : m_page(options.page), m_output(options.output)
{
}

QString OutputTarget::prepare()
{
    if (!m_output)
        return QString();
    const QString folder = QFileInfo(*m_output).absolutePath();
    if (!m_folders.make(folder))
        return QStringLiteral("Cannot make the folder \"%1\" for %2.")
            .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(*m_output));
    return QString();
}

QString OutputTarget::save(host::PageHost& host)
{
    if (const host::FileError error = m_output ? host.saveAs(*m_output) : host.save())
        return *error;
    m_folders.keep();
    return QString();
}

} // namespace tilemond::app
