#pragma once

#include "editor/editor_actions.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "platform/prompts.h"
#include "platform/screen_metrics.h"
#include "platform/window_system.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace tilemond {

// The editor's windows on a screen of the given twips per pixel (unequal by default, so that one
// axis taken for the other shows), with the window system and the message boxes observed; the
// editor is closed, destroyed and forgotten afterwards, with its actions and host.
class EditorSession : public ::testing::Test
{
protected:
    explicit EditorSession(float twipsX = 15, float twipsY = 12) : m_twips(twipsX, twipsY) {}

    void SetUp() override
    {
        Screen::overrideTwipsPerPixel(m_twips.first, m_twips.second);
        installWindowSystem(&windows);
        installPrompts(&answers);
    }

    void TearDown() override
    {
        unloadFrmPreview();
        unloadFrmFilters();
        destroyUnloaded();
        EditorOpen = false;
        editorActions() = {};
        HostApp.reset();
        installWindowSystem(nullptr);
        installPrompts(nullptr);
        Screen::clearOverride();
    }

    static void destroyUnloaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    RecordingWindowSystem windows;
    ScriptedPrompts answers;

private:
    std::pair<float, float> m_twips;
};

} // namespace tilemond
