#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace tilemond {

// Message box style values and answers, as the editor uses them.
namespace MsgBox {
inline constexpr int OkOnly = 0;
inline constexpr int YesNo = 4;
inline constexpr int Question = 32;
inline constexpr int Information = 64;

inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgBox

// The answer of the file-open dialog: a cancel is distinct from an empty name.
struct FileChoice
{
    bool cancelled = true;
    QString path;
};

// Every modal question the editor asks goes through here, so that tests and the
// batch mode can answer it and read what was asked.
class Prompts
{
public:
    virtual ~Prompts() = default;
    // Returns MsgBox::Ok, MsgBox::Yes or MsgBox::No.
    virtual int messageBox(const QString& text, const QString& title, int style) = 0;
    virtual FileChoice openFile(const QString& title, const QString& filterName,
                                const QStringList& patterns) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
};

// The installed prompts; Qt's dialogs unless something else was installed.
Prompts& prompts();
// The window that Qt's dialogs belong to (none by default): the window manager keeps them above
// it, so that a window that floats above others cannot hide them.
void setPromptsParent(QWidget* window);
QWidget* promptsParent();
// Installs other prompts (not owned); nullptr brings back Qt's dialogs.
void installPrompts(Prompts* prompts);

// Qt's own modal dialogs.
class QtPrompts final : public Prompts
{
public:
    int messageBox(const QString& text, const QString& title, int style) override;
    FileChoice openFile(const QString& title, const QString& filterName,
                        const QStringList& patterns) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
};

// Answers prepared in advance, in order; records every question. With no answer
// left a message box gets the default button (OK, or No for a yes/no question)
// and the dialogs are cancelled.
class ScriptedPrompts final : public Prompts
{
public:
    struct Asked
    {
        enum Kind { Message, File, Colour } kind;
        QString text;
        QString title;
        int style = 0;
        QStringList patterns;
    };

    void answerMessage(int answer) { m_messages.push_back(answer); }
    void answerFile(FileChoice choice) { m_files.push_back(std::move(choice)); }
    void answerColour(std::optional<QColor> colour) { m_colours.push_back(colour); }
    const std::vector<Asked>& asked() const { return m_asked; }

    int messageBox(const QString& text, const QString& title, int style) override;
    FileChoice openFile(const QString& title, const QString& filterName,
                        const QStringList& patterns) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;

private:
    std::deque<int> m_messages;
    std::deque<FileChoice> m_files;
    std::deque<std::optional<QColor>> m_colours;
    std::vector<Asked> m_asked;
};

} // namespace tilemond
