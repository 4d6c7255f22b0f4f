#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace tilemond::host {

// Keeps a subscription alive; dropping or disconnecting it ends the subscription.
class Connection
{
public:
    Connection() = default;
    explicit Connection(std::shared_ptr<void> token) : m_token(std::move(token)) {}
    void disconnect() { m_token.reset(); }
    bool connected() const { return m_token != nullptr; }

private:
    std::shared_ptr<void> m_token;
};

// A host event: handlers run in the order they subscribed, for as long as
// their Connection lives. A handler may subscribe or disconnect while it runs.
template <class... Args>
class Event
{
public:
    [[nodiscard]] Connection subscribe(std::function<void(Args...)> handler)
    {
        auto slot = std::make_shared<std::function<void(Args...)>>(std::move(handler));
        m_slots.push_back(slot);
        return Connection(slot);
    }

    void raise(Args... args)
    {
        std::vector<std::shared_ptr<std::function<void(Args...)>>> live;
        std::erase_if(m_slots, [](const auto& slot) { return slot.expired(); });
        for (const auto& slot : m_slots)
            if (auto handler = slot.lock())
                live.push_back(std::move(handler));
        for (const auto& handler : live)
            (*handler)(args...);
    }

private:
    std::vector<std::weak_ptr<std::function<void(Args...)>>> m_slots;
};

} // namespace tilemond::host
