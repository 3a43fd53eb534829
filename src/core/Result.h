#pragma once
// The one result of a core operation that can fail: its value, or the text to show the user.
// Result<> is the form for operations that give nothing back but success.

#include <optional>
#include <string>
#include <utility>

namespace stv
{

struct Failure {
    std::string message; // what went wrong, with the file or host named
    bool missing = false; // the thing asked for does not exist (a file, a folder on its path)
};

inline Failure fail(std::string message, bool missing = false)
{
    return Failure { std::move(message), missing };
}

template <typename T = void>
class [[nodiscard]] Result
{
public:
    Result(T value) // implicit: a value is a success
        : m_value(std::move(value))
    {
    }
    Result(Failure failure) // implicit: a failure is a failure
        : m_failure(std::move(failure))
    {
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    T &value() { return *m_value; }
    const T &value() const { return *m_value; }
    T valueOr(T fallback) const { return ok() ? *m_value : std::move(fallback); }
    // Empty on success.
    const std::string &error() const { return m_failure.message; }
    bool missing() const { return m_failure.missing; }
    const Failure &failure() const { return m_failure; }

private:
    std::optional<T> m_value;
    Failure m_failure;
};

template <>
class [[nodiscard]] Result<void>
{
public:
    Result() = default; // success
    Result(Failure failure)
        : m_ok(false)
        , m_failure(std::move(failure))
    {
    }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return ok(); }
    const std::string &error() const { return m_failure.message; }
    bool missing() const { return m_failure.missing; }
    const Failure &failure() const { return m_failure; }

private:
    bool m_ok = true;
    Failure m_failure;
};

} // namespace stv
