#pragma once

#include "host_api/event.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The host's menus and tool bars: named bars holding buttons and popups.
namespace tilemond::host {

namespace ControlType {
inline constexpr int Button = 1;
inline constexpr int Popup = 10;
} // namespace ControlType

namespace ButtonStyle {
inline constexpr int IconAndCaption = 3;
}

class CommandBarControl;
class CommandBarControls;
using CommandBarControlPtr = std::shared_ptr<CommandBarControl>;
using CommandBarControlsPtr = std::shared_ptr<CommandBarControls>;

class CommandBarControls
{
public:
    virtual ~CommandBarControls() = default;
    virtual int count() const = 0;
    // The control with this caption; nullptr when there is none.
    virtual CommandBarControlPtr item(std::string_view caption) const = 0;
    // Adds a control of type ControlType::Button or ControlType::Popup. before is
    // the one-based place (omitted: last). Temporary controls vanish with the host
    // run; others come back at the next run.
    virtual CommandBarControlPtr add(int type, std::optional<int> id = std::nullopt,
                                     std::optional<std::string> parameter = std::nullopt,
                                     std::optional<int> before = std::nullopt,
                                     std::optional<bool> temporary = std::nullopt) = 0;
};

class CommandBarControl
{
public:
    using ClickHandler = std::function<void(CommandBarControl& control, bool& cancelDefault)>;

    virtual ~CommandBarControl() = default;
    virtual int type() const = 0;
    virtual std::string caption() const = 0;
    virtual void setCaption(std::string_view caption) = 0;
    virtual bool beginGroup() const = 0;
    virtual void setBeginGroup(bool on) = 0;
    virtual bool visible() const = 0;
    virtual void setVisible(bool on) = 0;
    virtual int style() const = 0;
    virtual void setStyle(int style) = 0;
    // The controls of a popup; nullptr for a button.
    virtual CommandBarControlsPtr controls() = 0;
    // Removes the control (and a popup's contents) from its bar.
    virtual bool Delete(std::optional<bool> temporary = std::nullopt) = 0;
    // Runs the control's action: a button raises its click.
    virtual bool Execute() = 0;
    virtual Connection onClick(ClickHandler handler) = 0;
};

class CommandBar
{
public:
    virtual ~CommandBar() = default;
    virtual std::string name() const = 0;
    virtual CommandBarControlsPtr controls() = 0;
};
using CommandBarPtr = std::shared_ptr<CommandBar>;

class CommandBars
{
public:
    virtual ~CommandBars() = default;
    // The bar of this name ("Menu Bar", "Edit"); nullptr when there is none.
    virtual CommandBarPtr item(std::string_view name) = 0;
};
using CommandBarsPtr = std::shared_ptr<CommandBars>;

} // namespace tilemond::host
