#pragma once

#include "platform/prompts.h"

#include <QString>
#include <optional>

namespace tilemond::app {

// The answers of a batch run to the editor's questions, installed for the object's life. With a
// picture file the editor's offer of a file is answered Yes and its file dialog with that file;
// every other question is one that batch did not expect, and ends the run.
class BatchQuestions
{
public:
    explicit BatchQuestions(const std::optional<QString>& pictureFile);
    ~BatchQuestions();
    BatchQuestions(const BatchQuestions&) = delete;
    BatchQuestions& operator=(const BatchQuestions&) = delete;

    // What was asked that batch did not expect, as a reason; empty when nothing was.
    QString unexpected() const;

private:
    ScriptedPrompts m_prompts;
    std::size_t m_expected = 0;
};

} // namespace tilemond::app
