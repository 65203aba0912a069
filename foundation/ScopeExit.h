#pragma once
// Runs a clean-up when the scope ends, however it ends. A clean-up that fails
// while an exception is already on its way is dropped, so the first failure
// is the one reported; otherwise its exception propagates.

#include <exception>
#include <utility>

template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F cleanup) : m_cleanup(std::move(cleanup)) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    ~TScopeExit() noexcept(false)
    {
        if (std::uncaught_exceptions() > m_pending) {
            try {
                m_cleanup();
            } catch (...) {
            }
        } else {
            m_cleanup();
        }
    }

private:
    F m_cleanup;
    int m_pending = std::uncaught_exceptions();
};
