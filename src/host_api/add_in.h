#pragma once

#include "host_api/application.h"

#include <memory>

class QWidget;

// The connection between the host and an add-in, and the entry points of an add-in's library.
namespace tilemond::host {

// Result codes of the library entry points, in the component runtime's manner.
namespace HResult {
inline constexpr int Ok = 0;
inline constexpr int False = 1; // DllCanUnloadNow: objects are still alive
inline constexpr int Fail = static_cast<int>(0x80004005);
inline constexpr int ClassNotAvailable = static_cast<int>(0x80040111);
} // namespace HResult

// How the add-in came to be connected.
namespace ConnectMode {
inline constexpr int AfterStartup = 0;
inline constexpr int Startup = 1;
inline constexpr int External = 2;
inline constexpr int CommandLine = 3;
} // namespace ConnectMode

// Why the add-in is being disconnected.
namespace DisconnectMode {
inline constexpr int HostShutdown = 0;
inline constexpr int UserClosed = 1;
} // namespace DisconnectMode

// The registry entry of an add-in: key AddInEntry::Key + "/" + the add-in's class name, with
// these values.
namespace AddInEntry {
inline constexpr char Key[] = "Software/Microsoft/Office/FrontPage/Addins";
inline constexpr char FriendlyName[] = "FriendlyName";
inline constexpr char Description[] = "Description";
inline constexpr char LoadBehavior[] = "LoadBehavior";
inline constexpr char Path[] = "Path"; // the add-in's library file
// The load behaviour that makes the host connect the add-in at its start.
inline constexpr int LoadAtStartup = 3;
} // namespace AddInEntry

// What the host calls on a connected add-in, in this order over its life: OnConnection, then
// OnStartupComplete once the host has started, OnBeginShutdown when it is closing, and
// OnDisconnection. None of them throws.
class AddIn
{
public:
    virtual ~AddIn() = default;
    // AddInInst is the host's record of the add-in, held by the add-in until it is disconnected.
    virtual void OnConnection(const ApplicationPtr& Application, int ConnectMode,
                              const std::shared_ptr<void>& AddInInst) = 0;
    virtual void OnDisconnection(int RemoveMode) = 0;
    virtual void OnAddInsUpdate() = 0;
    virtual void OnStartupComplete() = 0;
    virtual void OnBeginShutdown() = 0;
};

// Makes the objects of one creatable class of an add-in's library.
class ClassFactory
{
public:
    virtual ~ClassFactory() = default;
    // A new object: for an add-in class an AddIn*, which the caller deletes; for a control class
    // a QWidget* made on parent, which the parent owns. nullptr when it cannot be made.
    virtual void* CreateInstance(QWidget* parent) = 0;
};

// The entry points every add-in library exports (extern "C").
using DllRegisterServerFn = int (*)();
using DllUnregisterServerFn = int (*)();
// Sets *factory (owned by the library) for the class progId, or nullptr with ClassNotAvailable.
using DllGetClassObjectFn = int (*)(const char* progId, ClassFactory** factory);
// Ok when none of the library's objects is alive any more, otherwise False.
using DllCanUnloadNowFn = int (*)();

} // namespace tilemond::host
