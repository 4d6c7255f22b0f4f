#pragma once

#include "support/editor_session.h"

#include <QPushButton>

namespace tilemond {

class EditorTest : public EditorSession
{
protected:
    static void click(QPushButton* button) { button->click(); }
};

} // namespace tilemond
