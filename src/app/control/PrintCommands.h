#pragma once

#include <functional>
#include <string>

namespace corvane {

class ClMyPrinter;
class MainWindowView;
class PrintDevice;
struct ProgramContext;

// The main window's print commands: the project listing (communication settings, both sequence
// lists and then the notepad) and the visible communication window. A cancelled print dialog
// prints nothing and says nothing.
class PrintCommands {
public:
    PrintCommands(ProgramContext& context, MainWindowView& view) : context_(context), view_(view) {}

    // The print dialog, then the listing once per copy, each from a new page, then, when the
    // notepad isn't empty, printNotes once per copy, each from a new page. The date is the user's
    // short date, the separator that of the user's numbers.
    void printProject(PrintDevice& device, const std::string& date, char decimalSeparator,
                      const std::function<void(ClMyPrinter&)>& printNotes);
    // The print dialog, whose selection choice is offered (and preselected) only when text is
    // selected; then printWindow with whether only the selection is printed.
    void printCommunication(PrintDevice& device, bool hasSelection,
                            const std::function<void(bool)>& printWindow);

private:
    ProgramContext& context_;
    MainWindowView& view_;
};

} // namespace corvane
