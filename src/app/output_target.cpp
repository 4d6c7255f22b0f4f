#include "app/output_target.h"

#include <QDir>
#include <QFileInfo>

namespace tilemond::app {

OutputTarget::OutputTarget(const SplitOptions& options)
    : m_page(options.page), m_output(options.output)
{
}

QString OutputTarget::prepare(host::PageHost& host)
{
    if (!m_output)
        return QString();
    if (const host::FileError problem = host::pageTargetProblem(*m_output))
        return *problem;
    const QString folder = QFileInfo(*m_output).absolutePath();
    if (const host::FileError error = m_folders.make(folder))
        return *error;
    host.setUnsavedFolder(folder);
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
