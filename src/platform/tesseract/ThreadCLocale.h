#pragma once

#include <locale.h>

namespace pellix {

// The engine's configuration files hold decimal numbers that it reads with the
// C library, so it must run in the C locale. uselocale() switches only this
// thread, leaving the user-interface thread in the user's locale.
class ThreadCLocale {
public:
    ThreadCLocale() : m_c(newlocale(LC_ALL_MASK, "C", nullptr)) {
        if (m_c != nullptr) {
            m_previous = uselocale(m_c);
        }
    }
    ~ThreadCLocale() {
        if (m_c != nullptr) {
            uselocale(m_previous);
            freelocale(m_c);
        }
    }
    ThreadCLocale(const ThreadCLocale&) = delete;
    ThreadCLocale& operator=(const ThreadCLocale&) = delete;

private:
    locale_t m_c;
    locale_t m_previous = LC_GLOBAL_LOCALE;
};

} // namespace pellix
