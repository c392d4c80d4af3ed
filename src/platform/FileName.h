#pragma once

#include <QByteArray>
#include <QString>

namespace pellix {

// A file name as the system spells it, made safe to show in a message or on a
// terminal: control characters (which could move the cursor, clear lines or
// forge a line of output), the marks that reorder text, bytes that are not
// UTF-8 and the backslash itself are written as \xNN (\\ for the backslash);
// everything else is shown as it is.
inline QString printableFileName(const QByteArray& name) {
    QString shown;
    const auto escape = [&shown](const char* bytes, int count) {
        for (int i = 0; i < count; ++i) {
            shown += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(bytes[i]), 2, 16,
                                                 QLatin1Char('0'));
        }
    };
    const int size = static_cast<int>(name.size());
    for (int i = 0; i < size;) {
        const auto lead = static_cast<unsigned char>(name[i]);
        const int length = lead < 0x80                   ? 1
                           : lead >= 0xc2 && lead < 0xe0 ? 2
                           : lead >= 0xe0 && lead < 0xf0 ? 3
                           : lead >= 0xf0 && lead < 0xf5 ? 4
                                                         : 0;
        char32_t code = length == 1 ? lead : lead & (0x7f >> length);
        bool valid = length > 0 && i + length <= size;
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(name[i + k]);
            valid = (next & 0xc0) == 0x80;
            code = (code << 6) | (next & 0x3f);
        }
        // Overlong forms, UTF-16 surrogates and values beyond Unicode.
        valid = valid && !(length == 3 && code < 0x800) && !(length == 4 && code < 0x10000) &&
                !(code >= 0xd800 && code < 0xe000) && code <= 0x10ffff;
        if (!valid) {
            escape(name.constData() + i, 1);
            ++i;
            continue;
        }
        const bool control = code < 0x20 || (code >= 0x7f && code < 0xa0) || code == 0x061c ||
                             code == 0x200e || code == 0x200f ||
                             (code >= 0x202a && code <= 0x202e) ||
                             (code >= 0x2066 && code <= 0x2069);
        if (code == '\\') {
            shown += QStringLiteral("\\\\");
        } else if (control) {
            escape(name.constData() + i, length);
        } else {
            shown += QString::fromUcs4(&code, 1);
        }
        i += length;
    }
    return shown;
}

} // namespace pellix
