#include "app/batch_questions.h"

namespace tilemond::app {

BatchQuestions::BatchQuestions(const std::optional<QString>& pictureFile)
{
    if (pictureFile) {
        m_prompts.answerMessage(MsgBox::Yes);
        m_prompts.answerFile({false, *pictureFile});
        m_expected = 2;
    }
    installPrompts(&m_prompts);
}

BatchQuestions::~BatchQuestions()
{
    installPrompts(nullptr);
}

QString BatchQuestions::unexpected() const
{
    const auto& asked = m_prompts.asked();
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const ScriptedPrompts::Asked& question = asked[i];
        const bool expected =
            i < m_expected && question.kind == (i == 0 ? ScriptedPrompts::Asked::Message
                                                       : ScriptedPrompts::Asked::File);
        if (expected)
            continue;
        if (question.kind != ScriptedPrompts::Asked::Message)
            return QStringLiteral("the editor asked for a file or a colour unexpectedly");
        QString text = question.text;
        text.replace('\r', ' ');
        return QStringLiteral("the editor said \"%1\"").arg(text);
    }
    return QString();
}

} // namespace tilemond::app
