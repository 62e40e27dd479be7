#pragma once
// Save-and-restore for the life of a scope: every early return and every
// exception puts the state back as it was.

#include "engine/base/UserHost.h"

#include <utility>

namespace brx {

// Sets slot to value and restores the earlier value at the end of the scope.
template <typename T>
class ScopedValue {
public:
    ScopedValue(T& slot, T value) : m_slot(slot), m_saved(std::exchange(slot, std::move(value))) {}
    ~ScopedValue() { m_slot = std::move(m_saved); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& m_slot;
    T m_saved;
};

// The busy cursor shown for the life of the scope (the host counts nesting).
class ScopedBusyCursor {
public:
    explicit ScopedBusyCursor(IUserHost& host) : m_host(host) { m_host.setBusy(true); }
    ~ScopedBusyCursor() { m_host.setBusy(false); }
    ScopedBusyCursor(const ScopedBusyCursor&) = delete;
    ScopedBusyCursor& operator=(const ScopedBusyCursor&) = delete;

private:
    IUserHost& m_host;
};

} // namespace brx
