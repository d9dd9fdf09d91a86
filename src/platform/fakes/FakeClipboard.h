#pragma once

#include "platform/Clipboard.h"

namespace corvane {

class FakeClipboard : public Clipboard {
public:
    std::string text() const override { return contents; }
    void setText(const std::string& text) override { contents = text; }

    std::string contents;
};

} // namespace corvane
