#pragma once

#include <QImage>
#include <QMetaObject>
#include <QMimeData>
#include <QString>

#include <memory>

namespace tilemond {

// The system clipboard, as far as pictures and plain text go.
namespace SystemClipboard {

// The picture on the clipboard in a held format (heldPicture), its alpha kept; a null image when
// it holds none.
QImage picture();
// Replaces whatever the clipboard held by this one picture.
void setPicture(const QImage& picture);
// The text on the clipboard (empty when it holds none).
QString text();
// Empties the clipboard.
void clear();

// A copy of everything the clipboard holds now, in every form it offers.
std::unique_ptr<QMimeData> contents();
// Puts such a copy back (an empty one empties the clipboard).
void restore(std::unique_ptr<QMimeData> contents);
// Whether the clipboard holds nothing at all.
bool isEmpty();

// Tells whether anyone (this program or another) wrote to the clipboard since the last mark.
// Another program's writing is known once the window system's notice of it was processed.
class ChangeWatch
{
public:
    ChangeWatch();
    ~ChangeWatch();
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    void mark() { m_marked = m_changes; }
    bool changedSinceMark() const { return m_changes != m_marked; }

private:
    quint64 m_changes = 0;
    quint64 m_marked = 0;
    QMetaObject::Connection m_connection;
};

} // namespace SystemClipboard
} // namespace tilemond
