#pragma once

#include "platform/Clipboard.h"

namespace pellix {

class FakeClipboard final : public Clipboard {
public:
    void clear() override {
        m_image = {};
        m_text.clear();
        ++changes;
    }
    void setImage(const QImage& image) override {
        m_image = image;
        m_text.clear();
        ++changes;
    }
    void setText(const QString& text) override {
        m_text = text;
        m_image = {};
        ++changes;
    }
    QImage image() const override { return m_image; }
    QString text() const override { return m_text; }

    int changes = 0;

private:
    QImage m_image;
    QString m_text;
};

} // namespace pellix
