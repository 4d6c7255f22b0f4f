#include "platform/prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace tilemond {
namespace {

QtPrompts g_qtPrompts;
Prompts* g_installed = nullptr;
QPointer<QWidget> g_parent;

bool isYesNo(int style)
{
    return (style & 0x7) == MsgBox::YesNo;
}

} // namespace

Prompts& prompts()
{
    return g_installed ? *g_installed : g_qtPrompts;
}

void installPrompts(Prompts* prompts)
{
    g_installed = prompts;
}

void setPromptsParent(QWidget* window)
{
    g_parent = window;
}

QWidget* promptsParent()
{
    return g_parent;
}

int QtPrompts::messageBox(const QString& text, const QString& title, int style)
{
    QMessageBox box(g_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (style & 0x70) {
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgBox::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgBox::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    if (isYesNo(style)) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgBox::Yes : MsgBox::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgBox::Ok;
}

FileChoice QtPrompts::openFile(const QString& title, const QString& filterName,
                               const QStringList& patterns)
{
    QFileDialog dialog(g_parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(filterName, patterns.join(' ')));
    // The filter is shown by its name alone; the patterns still choose the files listed.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return FileChoice{false, files.isEmpty() ? QString() : files.first()};
}

std::optional<QColor> QtPrompts::chooseColor(const QColor& initial)
{
    QColorDialog dialog(initial, g_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

int ScriptedPrompts::messageBox(const QString& text, const QString& title, int style)
{
    m_asked.push_back({Asked::Message, text, title, style, {}});
    if (m_messages.empty())
        return isYesNo(style) ? MsgBox::No : MsgBox::Ok;
    const int answer = m_messages.front();
    m_messages.pop_front();
    return answer;
}

FileChoice ScriptedPrompts::openFile(const QString& title, const QString& filterName,
                                     const QStringList& patterns)
{
    m_asked.push_back({Asked::File, filterName, title, 0, patterns});
    if (m_files.empty())
        return {};
    FileChoice choice = m_files.front();
    m_files.pop_front();
    return choice;
}

std::optional<QColor> ScriptedPrompts::chooseColor(const QColor& initial)
{
    m_asked.push_back({Asked::Colour, initial.name(), {}, 0, {}});
    if (m_colours.empty())
        return std::nullopt;
    const std::optional<QColor> colour = m_colours.front();
    m_colours.pop_front();
    return colour;
}

} // namespace tilemond
