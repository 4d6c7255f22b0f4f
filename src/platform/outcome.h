#pragma once

#include <QString>

#include <cassert>
#include <optional>
#include <type_traits>
#include <utility>

namespace tilemond {

// Why a step failed, in words for the user (naming the file and the reason, where there is one).
// Return it where an Outcome is expected: `return Unexpected(reason);`.
class Unexpected
{
public:
    explicit Unexpected(QString reason) : m_reason(std::move(reason)) {}
    const QString& error() const { return m_reason; }

private:
    QString m_reason;
};

// The one way a step says it failed and why: its value, or the reason. Spelled as
// std::expected<T, QString> is, which it can become once the toolchain's clang compiles
// <expected> (clang 14 does not, with GCC 12's library).
template <typename T> class [[nodiscard]] Outcome
{
public:
    Outcome() requires std::is_default_constructible_v<T> : m_value(T()) {}
    Outcome(T value) : m_value(std::move(value)) {}
    Outcome(Unexpected failure) : m_error(failure.error()) {}

    bool has_value() const { return m_value.has_value(); }
    explicit operator bool() const { return has_value(); }

    // Only when the step succeeded.
    T& value() &
    {
        assert(has_value());
        return *m_value;
    }
    const T& value() const&
    {
        assert(has_value());
        return *m_value;
    }
    T&& value() &&
    {
        assert(has_value());
        return *std::move(m_value);
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    template <typename U> T value_or(U&& otherwise) const&
    {
        return has_value() ? *m_value : static_cast<T>(std::forward<U>(otherwise));
    }

    // Only when the step failed.
    const QString& error() const
    {
        assert(!has_value());
        return m_error;
    }

    friend bool operator==(const Outcome& outcome, const Unexpected& failure)
    {
        return !outcome && outcome.m_error == failure.error();
    }

private:
    std::optional<T> m_value;
    QString m_error;
};

// A step that gives nothing but may fail: success by default.
template <> class [[nodiscard]] Outcome<void>
{
public:
    Outcome() = default;
    Outcome(Unexpected failure) : m_error(failure.error()) {}

    bool has_value() const { return !m_error.has_value(); }
    explicit operator bool() const { return has_value(); }

    // Only when the step failed.
    const QString& error() const
    {
        assert(!has_value());
        return *m_error;
    }

    friend bool operator==(const Outcome& one, const Outcome& other) = default;
    friend bool operator==(const Outcome& outcome, const Unexpected& failure)
    {
        return outcome.m_error == failure.error();
    }

private:
    std::optional<QString> m_error;
};

} // namespace tilemond
