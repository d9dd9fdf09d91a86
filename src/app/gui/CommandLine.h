#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What one command-line argument asks for.
enum class ArgumentKind { ProjectFile, NotepadFile, MinimiseSwitch, Unsupported };

// Splits a command line (without the program name) into its arguments. Blanks and tabs outside
// double quotes separate arguments; a double quote toggles quoting and is never part of an
// argument, but it counts as content, so "" alone makes an empty argument.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// ".ptp" project, ".ptn" notepad, "-m" minimise; the test trims and ignores case. Anything else,
// scripts (".pts") and the switches "-r" and "-i" included, is unsupported.
ArgumentKind classifyArgument(std::string_view argument);

// A path with a directory separator is used as it stands; a bare name is looked up in the current
// directory.
std::string resolveArgumentPath(const std::string& argument, const std::string& currentDirectory);

// "Unsupported command line argument: " followed by the argument as written.
std::string unsupportedArgumentMessage(const std::string& argument);

// True when the arguments (without the program name) ask for the usage text: "--help" anywhere.
// The program then prints programUsageText() and ends without a window.
bool wantsUsageText(const std::vector<std::string>& arguments);
// What "corvane --help" prints; the manual page corvane(1) is written from the same text.
std::string programUsageText();

} // namespace corvane
