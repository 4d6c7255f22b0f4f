#pragma once

namespace tilemond {

// Counts the library's objects that the host holds, so that the library can tell whether it
// may be unloaded. Each object holds one LiveObject for its lifetime.
class LiveObject
{
public:
    LiveObject();
    ~LiveObject();
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;

    static int count();
};

} // namespace tilemond
