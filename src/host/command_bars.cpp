#include "host/command_bars.h"

#include "host/command_bar_store.h"

#include <algorithm>

namespace tilemond::host {

HostControl::HostControl(ControlState state, ControlOrigin origin,
                         std::weak_ptr<ControlsChanged> changed)
    : m_state(std::move(state)), m_origin(origin), m_changed(changed)
{
    // A temporary popup takes its contents with it when the run ends.
    if (m_state.type == ControlType::Popup)
        m_children = std::make_shared<HostControls>(origin != ControlOrigin::Temporary, m_changed);
}

void HostControl::changed() const
{
    if (const auto notify = m_changed.lock(); notify && persisted())
        (*notify)();
}

void HostControl::setCaption(std::string_view caption)
{
    m_state.caption = caption;
    changed();
}

void HostControl::setBeginGroup(bool on)
{
    m_state.beginGroup = on;
    changed();
}

void HostControl::setVisible(bool on)
{
    m_state.visible = on;
    changed();
}

void HostControl::setStyle(int style)
{
    m_state.style = style;
    changed();
}

CommandBarControlsPtr HostControl::controls()
{
    return m_children;
}

bool HostControl::Delete(std::optional<bool>)
{
    const auto parent = m_parent.lock();
    if (!parent || !parent->remove(*this))
        return false;
    m_parent.reset();
    changed();
    return true;
}

bool HostControl::Execute()
{
    if (m_state.type != ControlType::Button)
        return false;
    bool cancelDefault = false;
    m_click.raise(*this, cancelDefault);
    if (!cancelDefault && m_action)
        m_action();
    return true;
}

Connection HostControl::onClick(ClickHandler handler)
{
    return m_click.subscribe(std::move(handler));
}

HostControls::HostControls(bool keepsAdded, std::weak_ptr<ControlsChanged> changed)
    : m_keepsAdded(keepsAdded), m_changed(std::move(changed))
{
}

std::shared_ptr<HostControl> HostControls::insert(std::size_t place, ControlState state,
                                                  ControlOrigin origin)
{
    auto control = std::make_shared<HostControl>(std::move(state), origin, m_changed);
    control->setParent(weak_from_this());
    m_controls.insert(m_controls.begin() +
                          static_cast<std::ptrdiff_t>(std::min(place, m_controls.size())),
                      control);
    return control;
}

bool HostControls::remove(const HostControl& control)
{
    return std::erase_if(m_controls, [&](const auto& held) { return held.get() == &control; }) > 0;
}

CommandBarControlPtr HostControls::item(std::string_view caption) const
{
    const auto found = std::find_if(m_controls.begin(), m_controls.end(), [&](const auto& control) {
        return control->caption() == caption;
    });
    return found != m_controls.end() ? *found : nullptr;
}

CommandBarControlPtr HostControls::add(int type, std::optional<int> id,
                                       std::optional<std::string> parameter,
                                       std::optional<int> before, std::optional<bool> temporary)
{
    if (type != ControlType::Button && type != ControlType::Popup)
        return nullptr;
    const int place = before.value_or(count() + 1);
    if (place < 1 || place > count() + 1)
        return nullptr;
    ControlState state;
    state.type = type;
    state.id = id;
    state.parameter = std::move(parameter);
    const bool lasting = m_keepsAdded && !temporary.value_or(false);
    auto control = insert(static_cast<std::size_t>(place - 1), std::move(state),
                          lasting ? ControlOrigin::Persisted : ControlOrigin::Temporary);
    if (const auto notify = m_changed.lock(); notify && lasting)
        (*notify)();
    return control;
}

namespace {

std::shared_ptr<HostControl> addBuiltIn(HostControls& controls, int type, const char* caption)
{
    ControlState state;
    state.type = type;
    state.caption = caption;
    return controls.append(std::move(state), ControlOrigin::BuiltIn);
}

void addBuiltInButtons(HostControls& controls, std::initializer_list<const char*> captions)
{
    for (const char* caption : captions)
        addBuiltIn(controls, ControlType::Button, caption);
}

} // namespace

HostCommandBars::HostCommandBars(QString storeFile)
    : m_storeFile(std::move(storeFile)), m_changed(std::make_shared<ControlsChanged>())
{
    const auto menuBar = addBar("Menu Bar");
    addBuiltInButtons(*addBuiltIn(*menuBar, ControlType::Popup, "File")->children(),
                      {"Open", "Save", "Save As", "Quit"});
    addBuiltInButtons(*addBuiltIn(*menuBar, ControlType::Popup, "Edit")->children(),
                      {"Undo", "Redo", "Copy", "Paste"});
    addBuiltInButtons(*addBar("Edit"), {"Undo", "Redo", "Copy", "Paste"});

    restoreAddedControls(m_storeFile, m_bars);
    *m_changed = [this] { saveAddedControls(m_storeFile, m_bars); };
}

std::shared_ptr<HostControls> HostCommandBars::addBar(std::string name)
{
    auto controls = std::make_shared<HostControls>(true, m_changed);
    m_bars.push_back(std::make_shared<HostCommandBar>(std::move(name), controls));
    return controls;
}

void HostCommandBars::setBuiltInAction(std::string_view caption, std::function<void()> action)
{
    std::vector<std::shared_ptr<HostControls>> pending;
    for (const auto& bar : m_bars)
        pending.push_back(bar->hostControls());
    while (!pending.empty()) {
        const auto controls = pending.back();
        pending.pop_back();
        for (const auto& control : controls->list()) {
            if (control->origin() != ControlOrigin::BuiltIn)
                continue;
            if (control->caption() == caption)
                control->setAction(action);
            if (control->children())
                pending.push_back(control->children());
        }
    }
}

CommandBarPtr HostCommandBars::item(std::string_view name)
{
    const auto found = std::find_if(m_bars.begin(), m_bars.end(),
                                    [&](const auto& bar) { return bar->name() == name; });
    return found != m_bars.end() ? *found : nullptr;
}

} // namespace tilemond::host
