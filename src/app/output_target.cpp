#include "app/output_target.h"

#include <QDir>
#include <QFileInfo>

namespace tilemond::app {

OutputTarget::OutputTarget(const SplitOptions& options)
    : m_page(options.page), m_output(options.output)
{
}

Outcome<void> OutputTarget::prepare(host::PageHost& host)
{
    if (!m_output)
        return {};
    if (Outcome<void> target = host::checkPageTarget(*m_output); !target)
        return target;
    const QString folder = QFileInfo(*m_output).absolutePath();
    if (Outcome<void> made = m_folders.make(folder); !made)
        return made;
    host.setUnsavedFolder(folder);
    return {};
}

Outcome<void> OutputTarget::save(host::PageHost& host)
{
    Outcome<void> saved = m_output ? host.saveAs(*m_output) : host.save();
    if (saved)
        m_folders.keep();
    return saved;
}

} // namespace tilemond::app
