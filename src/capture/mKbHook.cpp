#include "capture/mKbHook.h"

#include "platform/KeyListener.h"

#include <QMetaObject>

namespace pellix::mKbHook {

std::int32_t m_hHook = 0;
QPointer<QObject> m_HookForm;

namespace {

// The listener that holds m_hHook; the callback reads the key states from it.
KeyListener* m_Listener = nullptr;

// Found by name at run time, so the hook works for any form that offers it.
void callDoCapture(bool capture) {
    const QPointer<QObject> form = m_HookForm;
    if (form) {
        QMetaObject::invokeMethod(form.data(), "DoCapture", Qt::DirectConnection,
                                  Q_ARG(bool, capture));
    }
}

} // namespace

void InstallKbHook(QObject* form, KeyListener& listener) {
    if (m_hHook != 0) {
        return;
    }
    m_Listener = &listener;
    m_hHook = listener.arm(
        [](int code, int message, std::int32_t key) { KbHookProc(code, message, key); });
    m_HookForm = form;
}

void RemoveKbHook() {
    if (m_hHook == 0) {
        return;
    }
    if (m_Listener) {
        m_Listener->disarm(m_hHook);
    }
    ClearKbHook();
}

void ClearKbHook() {
    m_hHook = 0;
    m_HookForm.clear();
    m_Listener = nullptr;
}

// The events only tell that some key moved; what counts is the state of the
// three keys at that moment. Control and Shift are combined bit by bit: both
// held, or both pressed since they were last read.
void KbHookProc(std::int32_t nCode, std::int32_t wParam, std::int32_t /*lParam*/) {
    if (nCode != KeyActionCode || m_hHook == 0 || !m_Listener) {
        return;
    }
    if (wParam == KeyMessage::KeyDown) {
        const std::int16_t control = m_Listener->asyncKeyState(VirtualKey::Control);
        const std::int16_t shift = m_Listener->asyncKeyState(VirtualKey::Shift);
        if ((control & shift) != 0) {
            callDoCapture(true);
        }
    } else if (wParam == KeyMessage::KeyUp) {
        if (m_Listener->asyncKeyState(VirtualKey::Escape) != 0) {
            callDoCapture(false);
        }
    }
}

} // namespace pellix::mKbHook
