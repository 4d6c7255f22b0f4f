#pragma once

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "platform/prompts.h"
#include "platform/screen_metrics.h"
#include "platform/window_system.h"

#include <QCoreApplication>
#include <QPushButton>
#include <gtest/gtest.h>

namespace tilemond {

// Both editor windows on a screen of 15 twips per pixel across and 12 down (unequal, so that one
// axis taken for the other shows), with the window system and the message boxes observed;
// everything is closed and destroyed afterwards.
class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Screen::overrideTwipsPerPixel(15, 12);
        installWindowSystem(&windows);
        installPrompts(&answers);
    }

    void TearDown() override
    {
        unloadFrmPreview();
        unloadFrmFilters();
        destroyUnloaded();
        installWindowSystem(nullptr);
        installPrompts(nullptr);
        Screen::clearOverride();
        EditorOpen = false;
    }

    static void destroyUnloaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void click(QPushButton* button) { button->click(); }

    RecordingWindowSystem windows;
    ScriptedPrompts answers;
};

} // namespace tilemond
