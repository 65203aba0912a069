#pragma once
// Sets the process umask for a scope and restores it however the scope ends,
// so that a failed assertion does not leave it changed for later tests.

#include <sys/stat.h>
#include <sys/types.h>

class TScopedUmask {
public:
    explicit TScopedUmask(mode_t mask) : m_saved(::umask(mask)) {}
    ~TScopedUmask() { ::umask(m_saved); }
    TScopedUmask(const TScopedUmask&) = delete;
    TScopedUmask& operator=(const TScopedUmask&) = delete;

private:
    mode_t m_saved;
};
