#pragma once

#include "CorvaneVersion.h"

#include <string>

namespace corvane {

// "Corvane V<major>.<minor>": the caption of message boxes that have no title of their own.
inline std::string applicationTitle() {
    return "Corvane V" + std::to_string(version::major) + "." + std::to_string(version::minor);
}

// "Version <major>.<minor>.<revision>" (about box).
inline std::string versionText() {
    return "Version " + std::to_string(version::major) + "." + std::to_string(version::minor) + "." +
           std::to_string(version::revision);
}

} // namespace corvane
