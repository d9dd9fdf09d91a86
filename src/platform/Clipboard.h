#pragma once

#include <string>

namespace corvane {

// The system clipboard's plain text (UTF-8).
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

} // namespace corvane
