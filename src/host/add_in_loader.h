#pragma once

#include "host_api/add_in.h"
#include "platform/outcome.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tilemond::host {

// Connects the add-ins that the registry lists for the host's start (load behaviour 3) and
// disconnects them when the host closes. Libraries stay loaded until the process ends, since
// windows and handlers of an add-in may outlive its disconnection by a moment.
class AddInLoader
{
public:
    explicit AddInLoader(ApplicationPtr host);
    ~AddInLoader();
    AddInLoader(const AddInLoader&) = delete;
    AddInLoader& operator=(const AddInLoader&) = delete;

    // Connects every listed add-in that is not connected yet, then tells the new ones that the
    // host has started. Returns a text for each add-in that could not be connected.
    QStringList connectRegistered();
    // Tells every connected add-in that the host is closing, then disconnects them, the last
    // connected first.
    void disconnectAll();
    QStringList connectedAddIns() const;

private:
    struct Connected
    {
        QString progId;
        std::unique_ptr<AddIn> addIn;
    };

    // The add-in's object, or why there is none.
    static Outcome<std::unique_ptr<AddIn>> create(const QString& progId, const QString& library);
    bool isConnected(const QString& progId) const;

    ApplicationPtr m_host;
    std::vector<Connected> m_connected;
};

} // namespace tilemond::host
