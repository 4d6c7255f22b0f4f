#include "addin/entry_points.h"

#include "addin/connect.h"
#include "addin/library_file.h"
#include "addin/live_objects.h"
#include "editor/editor_state.h"
#include "marker/ch_v_splitter.h"
#include "marker/ct_h_splitter.h"
#include "platform/registry.h"

#include <cstring>

namespace tilemond {
namespace {

using host::HResult::Fail;
using host::HResult::Ok;

const char ConnectClass[] = "TessoraTilemond.Connect";

QString connectEntry()
{
    return QStringLiteral("%1/%2").arg(host::AddInEntry::Key, ConnectClass);
}

// Nothing thrown inside the library gets out to the host.
template <class Call> int guarded(Call call) noexcept
{
    try {
        return call();
    } catch (...) {
        return Fail;
    }
}

class ConnectFactory final : public host::ClassFactory
{
public:
    void* CreateInstance(QWidget*) override { return static_cast<host::AddIn*>(new Connect); }
};

// A marker control that counts as one of the library's objects while it exists.
template <class Marker> class CountedMarker final : public Marker
{
public:
    using Marker::Marker;

private:
    LiveObject m_alive;
};

template <class Marker> class MarkerFactory final : public host::ClassFactory
{
public:
    void* CreateInstance(QWidget* parent) override
    {
        return static_cast<QWidget*>(new CountedMarker<Marker>(parent));
    }
};

struct ClassEntry
{
    const char* progId;
    host::ClassFactory* factory;
};

ConnectFactory g_connectFactory;
MarkerFactory<chVSplitter> g_verticalMarkerFactory;
MarkerFactory<ctHSplitter> g_horizontalMarkerFactory;
const ClassEntry Classes[] = {
    {ConnectClass, &g_connectFactory},
    {"TessoraTilemond.chVSplitter", &g_verticalMarkerFactory},
    {"TessoraTilemond.ctHSplitter", &g_horizontalMarkerFactory},
};

} // namespace
} // namespace tilemond

using namespace tilemond;

int DllRegisterServer()
{
    return guarded([] {
        const QString library = addInLibraryPath();
        if (library.isEmpty())
            return Fail;
        const Outcome<void> written = Registry::setValues(
            connectEntry(),
            {
                {host::AddInEntry::FriendlyName, QStringLiteral("Korvi Media Tessora Tilemond")},
                {host::AddInEntry::Description,
                 QStringLiteral("Tessora Tilemond for Microsoft Frontpage")},
                {host::AddInEntry::LoadBehavior, host::AddInEntry::LoadAtStartup},
                {host::AddInEntry::Path, library},
            });
        return written ? Ok : Fail;
    });
}

int DllUnregisterServer()
{
    return guarded([] { return Registry::deleteKey(connectEntry()) ? Ok : Fail; });
}

int DllGetClassObject(const char* progId, host::ClassFactory** factory)
{
    if (!factory)
        return Fail;
    *factory = nullptr;
    for (const ClassEntry& entry : Classes)
        if (progId && std::strcmp(entry.progId, progId) == 0)
            *factory = entry.factory;
    return *factory ? Ok : host::HResult::ClassNotAvailable;
}

int DllCanUnloadNow()
{
    const bool inUse = LiveObject::count() > 0 || isFrmFiltersLoaded() || isFrmPreviewLoaded();
    return inUse ? host::HResult::False : Ok;
}
