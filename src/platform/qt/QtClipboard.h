#pragma once

#include "platform/Clipboard.h"

namespace corvane {

// The system clipboard through QGuiApplication::clipboard(); needs a running QGuiApplication.
class QtClipboard : public Clipboard {
public:
    std::string text() const override;
    void setText(const std::string& text) override;
};

} // namespace corvane
