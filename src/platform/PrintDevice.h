#pragma once

#include <string>

namespace corvane {

// The orientation of the printed page, as the print dialog offers it.
enum class PrintOrientation { Portrait = 1, Landscape = 2 };
// Whether the printer prints in colour.
enum class PrintColorMode { Monochrome = 1, Color = 2 };

// What the print dialog offers besides the printer, the copies and the orientation. It never
// offers page numbers: everything is printed.
struct PrintDialogOptions {
    // The choice to print only the selection: offered and preselected, else disabled.
    bool selectionOffered = false;
};

// What the user chose in the print dialog.
struct PrintDialogChoice {
    int copies = 1;
    PrintOrientation orientation = PrintOrientation::Portrait;
    bool selectionOnly = false;
};

// A printer as the printing code sees it: the platform's print dialog, then one print job of
// pages on which text and lines are drawn. Lengths are twips (1/1440 inch) from the top-left
// corner of the sheet; text is UTF-8.
class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    // Shows the print dialog; false when the user cancels it.
    virtual bool showPrintDialog(const PrintDialogOptions& options, PrintDialogChoice& choice) = 0;
    virtual PrintColorMode printerColorMode() const = 0;

    // Starts a job of one copy on the chosen printer; false when the printer can't start it.
    virtual bool beginJob(PrintOrientation orientation, PrintColorMode colorMode) = 0;
    virtual void newPage() = 0;
    virtual void endJob() = 0;
    virtual void abortJob() = 0;

    // The sheet of the job under way.
    virtual double pageWidth() const = 0;
    virtual double pageHeight() const = 0;
    // The printed width of a text, and the height of a line, in the normal or the bold font.
    virtual double textWidth(const std::string& text, bool bold) const = 0;
    virtual double lineHeight(bool bold) const = 0;
    // A text whose line starts at (x, y): y is the top of the line.
    virtual void drawText(double x, double y, const std::string& text, bool bold) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
};

} // namespace corvane
