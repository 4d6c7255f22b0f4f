#include "editor/marker_array.h"

#include <cassert>

namespace tilemond {

MarkerArray::MarkerArray(QWidget* parent, Create create, Connect connect)
    : m_parent(parent), m_create(std::move(create)), m_connect(std::move(connect))
{
    make(0)->hide();
}

CutMarker* MarkerArray::at(int index) const
{
    const auto found = m_elements.find(index);
    return found == m_elements.end() ? nullptr : found->second.data();
}

CutMarker& MarkerArray::operator[](int index) const
{
    CutMarker* element = at(index);
    assert(element);
    return *element;
}

bool MarkerArray::load(int index)
{
    if (index < 1 || index > MaxIndex || at(index))
        return false;
    const CutMarker& first = (*this)[0];
    CutMarker* element = make(index);
    element->hide();
    element->setLeft(first.Left());
    element->setTop(first.Top());
    element->setWidth(first.Width());
    element->setHeight(first.Height());
    return true;
}

void MarkerArray::unload(int index)
{
    CutMarker* element = index == 0 ? nullptr : at(index);
    if (!element)
        return;
    m_elements.erase(index);
    // Destroyed once control is back in the event loop: the element may be inside its own handler.
    element->hide();
    element->deleteLater();
}

CutMarker* MarkerArray::make(int index)
{
    CutMarker* element = m_create(m_parent);
    m_elements[index] = element;
    m_connect(*element, index);
    return element;
}

} // namespace tilemond
