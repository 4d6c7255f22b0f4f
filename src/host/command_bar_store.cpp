#include "host/command_bar_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace tilemond::host {

namespace {

const QString BuiltInKey = QStringLiteral("builtIn");

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

QJsonArray controlsToJson(const HostControls& controls);

QJsonObject controlToJson(const HostControl& control)
{
    QJsonObject json;
    const ControlState& state = control.state();
    if (control.origin() == ControlOrigin::BuiltIn) {
        json[BuiltInKey] = text(state.caption);
    } else {
        json["type"] = state.type;
        json["caption"] = text(state.caption);
        json["beginGroup"] = state.beginGroup;
        json["visible"] = state.visible;
        json["style"] = state.style;
        if (state.id)
            json["id"] = *state.id;
        if (state.parameter)
            json["parameter"] = text(*state.parameter);
    }
    if (const auto children = control.children())
        json["controls"] = controlsToJson(*children);
    return json;
}

QJsonArray controlsToJson(const HostControls& controls)
{
    QJsonArray json;
    for (const auto& control : controls.list())
        if (control->origin() != ControlOrigin::Temporary)
            json.append(controlToJson(*control));
    return json;
}

std::optional<ControlState> stateFromJson(const QJsonObject& json)
{
    ControlState state;
    state.type = json["type"].toInt(-1);
    if (state.type != ControlType::Button && state.type != ControlType::Popup)
        return std::nullopt;
    state.caption = json["caption"].toString().toStdString();
    state.beginGroup = json["beginGroup"].toBool();
    state.visible = json["visible"].toBool(true);
    state.style = json["style"].toInt();
    if (json.contains("id"))
        state.id = json["id"].toInt();
    if (json.contains("parameter"))
        state.parameter = json["parameter"].toString().toStdString();
    return state;
}

void restoreControls(HostControls& controls, const QJsonArray& json)
{
    std::size_t place = 0; // an added control goes right after what precedes it in the file
    for (const QJsonValue& value : json) {
        const QJsonObject entry = value.toObject();
        std::shared_ptr<HostControl> control;
        if (entry.contains(BuiltInKey)) {
            const std::string caption = entry[BuiltInKey].toString().toStdString();
            const auto& list = controls.list();
            const auto found = std::find_if(list.begin(), list.end(), [&](const auto& held) {
                return held->origin() == ControlOrigin::BuiltIn && held->caption() == caption;
            });
            if (found == list.end())
                continue;
            control = *found;
            place = static_cast<std::size_t>(found - list.begin()) + 1;
        } else if (const auto state = stateFromJson(entry)) {
            control = controls.insert(place++, *state, ControlOrigin::Persisted);
        }
        if (control && control->children())
            restoreControls(*control->children(), entry["controls"].toArray());
    }
}

} // namespace

void saveAddedControls(const QString& file,
                       const std::vector<std::shared_ptr<HostCommandBar>>& bars)
{
    QJsonArray json;
    for (const auto& bar : bars)
        json.append(QJsonObject{{"name", text(bar->name())},
                                {"controls", controlsToJson(*bar->hostControls())}});
    QDir().mkpath(QFileInfo(file).absolutePath());
    // Losing this file loses only the added menu entries, which the add-in adds again.
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QJsonDocument(QJsonObject{{"bars", json}}).toJson());
        out.commit();
    }
}

void restoreAddedControls(const QString& file,
                          const std::vector<std::shared_ptr<HostCommandBar>>& bars)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QJsonArray json = QJsonDocument::fromJson(in.readAll()).object()["bars"].toArray();
    for (const QJsonValue& value : json) {
        const QJsonObject entry = value.toObject();
        const std::string name = entry["name"].toString().toStdString();
        for (const auto& bar : bars)
            if (bar->name() == name)
                restoreControls(*bar->hostControls(), entry["controls"].toArray());
    }
}

} // namespace tilemond::host
