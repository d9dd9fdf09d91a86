#pragma once

namespace corvane::cli {

inline constexpr int kExitNormal = 0;
inline constexpr int kExitCannotStart = 1;
inline constexpr int kExitUsage = 2;

// The whole program: arguments in, exit status out. Needs a Qt core application object.
int runCli(int argc, char** argv);

} // namespace corvane::cli
