#pragma once

#include "host_api/command_bars.h"

#include <QString>

#include <functional>
#include <vector>

namespace tilemond::host {

class HostControls;

// What a control is, apart from where it stands.
struct ControlState
{
    int type = ControlType::Button;
    std::string caption;
    bool beginGroup = false;
    bool visible = true;
    int style = 0;
    std::optional<int> id;
    std::optional<std::string> parameter;
};

// Called whenever a control that outlives the host run changes.
using ControlsChanged = std::function<void()>;

// Built-in controls belong to the host; added ones last for the run when
// temporary, and otherwise come back at the next run.
enum class ControlOrigin { BuiltIn, Temporary, Persisted };

class HostControl final : public CommandBarControl
{
public:
    HostControl(ControlState state, ControlOrigin origin, std::weak_ptr<ControlsChanged> changed);

    const ControlState& state() const { return m_state; }
    ControlOrigin origin() const { return m_origin; }
    bool persisted() const { return m_origin == ControlOrigin::Persisted; }
    // The host's own action, run by Execute unless a click handler cancels it.
    void setAction(std::function<void()> action) { m_action = std::move(action); }
    std::shared_ptr<HostControls> children() const { return m_children; }
    void setParent(std::weak_ptr<HostControls> parent) { m_parent = std::move(parent); }

    int type() const override { return m_state.type; }
    std::string caption() const override { return m_state.caption; }
    void setCaption(std::string_view caption) override;
    bool beginGroup() const override { return m_state.beginGroup; }
    void setBeginGroup(bool on) override;
    bool visible() const override { return m_state.visible; }
    void setVisible(bool on) override;
    int style() const override { return m_state.style; }
    void setStyle(int style) override;
    CommandBarControlsPtr controls() override;
    bool Delete(std::optional<bool> temporary = std::nullopt) override;
    bool Execute() override;
    Connection onClick(ClickHandler handler) override;

private:
    void changed() const;

    ControlState m_state;
    ControlOrigin m_origin;
    std::weak_ptr<ControlsChanged> m_changed;
    std::shared_ptr<HostControls> m_children; // a popup's controls
    std::weak_ptr<HostControls> m_parent;
    std::function<void()> m_action;
    Event<CommandBarControl&, bool&> m_click;
};

class HostControls final : public CommandBarControls,
                           public std::enable_shared_from_this<HostControls>
{
public:
    // keepsAdded: controls added here may outlive the run (not inside a temporary popup).
    HostControls(bool keepsAdded, std::weak_ptr<ControlsChanged> changed);

    const std::vector<std::shared_ptr<HostControl>>& list() const { return m_controls; }
    // Puts a control at a zero-based place without telling the store.
    std::shared_ptr<HostControl> insert(std::size_t place, ControlState state,
                                        ControlOrigin origin);
    std::shared_ptr<HostControl> append(ControlState state, ControlOrigin origin)
    {
        return insert(m_controls.size(), std::move(state), origin);
    }
    bool remove(const HostControl& control);

    int count() const override { return static_cast<int>(m_controls.size()); }
    CommandBarControlPtr item(std::string_view caption) const override;
    CommandBarControlPtr add(int type, std::optional<int> id = std::nullopt,
                             std::optional<std::string> parameter = std::nullopt,
                             std::optional<int> before = std::nullopt,
                             std::optional<bool> temporary = std::nullopt) override;

private:
    std::vector<std::shared_ptr<HostControl>> m_controls;
    bool m_keepsAdded;
    std::weak_ptr<ControlsChanged> m_changed;
};

class HostCommandBar final : public CommandBar
{
public:
    HostCommandBar(std::string name, std::shared_ptr<HostControls> controls)
        : m_name(std::move(name)), m_controls(std::move(controls))
    {
    }
    std::string name() const override { return m_name; }
    CommandBarControlsPtr controls() override { return m_controls; }
    const std::shared_ptr<HostControls>& hostControls() const { return m_controls; }

private:
    std::string m_name;
    std::shared_ptr<HostControls> m_controls;
};

// The host's bars: "Menu Bar" with the menus "File" and "Edit" (Undo, Redo, Copy, Paste), and
// the bar "Edit" with the same. Controls added for good are kept in storeFile from run to run.
class HostCommandBars final : public CommandBars
{
public:
    explicit HostCommandBars(QString storeFile);

    // Gives every built-in control of this caption ("Open", "Copy", ...) its action.
    void setBuiltInAction(std::string_view caption, std::function<void()> action);
    const std::vector<std::shared_ptr<HostCommandBar>>& bars() const { return m_bars; }

    CommandBarPtr item(std::string_view name) override;

private:
    std::shared_ptr<HostControls> addBar(std::string name);

    QString m_storeFile;
    std::shared_ptr<ControlsChanged> m_changed;
    std::vector<std::shared_ptr<HostCommandBar>> m_bars;
};

} // namespace tilemond::host
