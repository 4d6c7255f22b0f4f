#include "platform/yield.h"

#include <QCoreApplication>

namespace tilemond {

void yieldEvents(int n)
{
    for (int i = 0; i < n; ++i)
        QCoreApplication::processEvents();
}

} // namespace tilemond
