#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>

namespace pellix {
class KeyListener;
}

// The capture keyboard hook: while armed it turns Control and Shift held together
// into DoCapture(true) on the recorded form, and Escape into DoCapture(false).
// It knows nothing of capturing; there is at most one hook, recorded here.
namespace pellix::mKbHook {

// The recorded hook's handle, 0 when none is recorded.
extern std::int32_t m_hHook;
// The form whose DoCapture the hook calls; empty when no hook is recorded.
extern QPointer<QObject> m_HookForm;

// Arms the hook on `listener` for `form`, unless a hook is recorded already.
// A refused arm leaves the handle at 0 with the form recorded.
void InstallKbHook(QObject* form, KeyListener& listener);
// Disarms the recorded hook, if any, and clears the record.
void RemoveKbHook();
// Forgets the record without disarming anything.
void ClearKbHook();
// The listener's callback: code, message and the key, which is never read.
void KbHookProc(std::int32_t nCode, std::int32_t wParam, std::int32_t lParam);

} // namespace pellix::mKbHook
