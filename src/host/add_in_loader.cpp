#include "host/add_in_loader.h"

#include "platform/registry.h"

#include <QLibrary>
#include <algorithm>

namespace tilemond::host {

AddInLoader::AddInLoader(ApplicationPtr host) : m_host(std::move(host)) {}

AddInLoader::~AddInLoader()
{
    disconnectAll();
}

QStringList AddInLoader::connectRegistered()
{
    QStringList errors;
    const std::size_t firstNew = m_connected.size();
    for (const QString& progId : Registry::subKeys(AddInEntry::Key)) {
        const QString key = QStringLiteral("%1/%2").arg(AddInEntry::Key, progId);
        if (isConnected(progId) ||
            Registry::value(key, AddInEntry::LoadBehavior).toInt() != AddInEntry::LoadAtStartup)
            continue;
        auto addIn = create(progId, Registry::value(key, AddInEntry::Path).toString());
        if (!addIn) {
            errors << QStringLiteral("Add-in %1: %2").arg(progId, addIn.error());
            continue;
        }
        (*addIn)->OnConnection(m_host, ConnectMode::Startup, std::make_shared<QString>(progId));
        m_connected.push_back({progId, std::move(addIn).value()});
    }
    for (std::size_t i = firstNew; i < m_connected.size(); ++i)
        m_connected[i].addIn->OnStartupComplete();
    return errors;
}

void AddInLoader::disconnectAll()
{
    for (const Connected& connected : m_connected)
        connected.addIn->OnBeginShutdown();
    while (!m_connected.empty()) {
        m_connected.back().addIn->OnDisconnection(DisconnectMode::HostShutdown);
        m_connected.pop_back();
    }
}

QStringList AddInLoader::connectedAddIns() const
{
    QStringList progIds;
    for (const Connected& connected : m_connected)
        progIds << connected.progId;
    return progIds;
}

Outcome<std::unique_ptr<AddIn>> AddInLoader::create(const QString& progId, const QString& library)
{
    if (library.isEmpty())
        return Unexpected(QStringLiteral("no library is registered."));
    QLibrary file(library);
    if (!file.load())
        return Unexpected(QStringLiteral("cannot load %1: %2").arg(library, file.errorString()));
    const auto getClassObject =
        reinterpret_cast<DllGetClassObjectFn>(file.resolve("DllGetClassObject"));
    if (!getClassObject)
        return Unexpected(QStringLiteral("%1 has no entry point DllGetClassObject.").arg(library));
    ClassFactory* factory = nullptr;
    if (getClassObject(progId.toUtf8().constData(), &factory) != HResult::Ok || !factory)
        return Unexpected(QStringLiteral("%1 does not offer the class %2.").arg(library, progId));
    std::unique_ptr<AddIn> addIn(static_cast<AddIn*>(factory->CreateInstance(nullptr)));
    if (!addIn)
        return Unexpected(
            QStringLiteral("%1 could not make an object of the class %2.").arg(library, progId));
    return addIn;
}

bool AddInLoader::isConnected(const QString& progId) const
{
    return std::any_of(m_connected.begin(), m_connected.end(),
                       [&](const Connected& connected) { return connected.progId == progId; });
}

} // namespace tilemond::host
