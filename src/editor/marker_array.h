#pragma once

#include "marker/cut_marker.h"

#include <QPointer>
#include <functional>
#include <map>

namespace tilemond {

// An indexed array of marker controls on a window. Element 0 belongs to the window's design and
// always exists; elements 1 .. 32767 are loaded and unloaded at run time.
class MarkerArray
{
public:
    static constexpr int MaxIndex = 32767;

    // Makes a marker control on `parent`.
    using Create = std::function<CutMarker*(QWidget* parent)>;
    // Connects a new element's events, knowing its index.
    using Connect = std::function<void(CutMarker& element, int index)>;

    MarkerArray(QWidget* parent, Create create, Connect connect);

    // The element at `index`; nullptr when it is not loaded.
    CutMarker* at(int index) const;
    // The element at `index`, which must be loaded.
    CutMarker& operator[](int index) const;
    int count() const { return int(m_elements.size()); }

    // Loads a new element at `index`, hidden and placed like element 0. Returns false, changing
    // nothing, when the index is taken or out of range.
    bool load(int index);
    // Destroys the element at `index`. Element 0 and an index not loaded are left alone.
    void unload(int index);

private:
    CutMarker* make(int index);

    QWidget* m_parent;
    Create m_create;
    Connect m_connect;
    std::map<int, QPointer<CutMarker>> m_elements;
};

} // namespace tilemond
