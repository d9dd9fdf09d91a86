#pragma once

#include "platform/PrintDevice.h"

#include <string>

namespace corvane {

// Lays out the printed project listing: it keeps the print position inside fixed margins, wraps
// text at a separator character and starts a new page when the space runs out. Positions are
// twips from the top-left margin corner; the printer itself is a PrintDevice.
class ClMyPrinter {
public:
    static constexpr double kTopMargin = 1440;
    static constexpr double kLeftMargin = 1152;
    static constexpr double kRightMargin = 720;
    static constexpr double kBottomMargin = 1152;

    explicit ClMyPrinter(PrintDevice& device) : device_(device) {}

    // The print dialog (orientation and copies can be chosen); false when it was cancelled. The
    // orientation comes from the dialog, the colour mode from the printer.
    bool setup(const PrintDialogOptions& options = {});
    // The copies the dialog asked for (at least one).
    int copies() const { return copies_; }
    // Starts the job; the position is (0, 0). False when the printer can't start it.
    bool startPrint();
    void beginNewPage();
    void endPrint();
    void abortPrint();

    // Prints text at (x, y), -1 keeping the current coordinate. The text is cut after every
    // separator; a piece that doesn't fit the rest of the line starts the next one, and a piece
    // wider than a whole line is cut where it must be. The line is ended after the text, and a new
    // page begun when fewer than three more lines fit on this one.
    void printText(const std::string& text, double x = -1, double y = -1, char separator = ' ');
    // A rule across the available width, space lines below the position; the position moves down
    // as far again below it.
    void printVertLine(double space);

    bool fontBold() const { return bold_; }
    void setFontBold(bool bold) { bold_ = bold; }
    double currentX() const { return x_; }
    double currentY() const { return y_; }
    void setCurrentX(double x) { x_ = x; }
    void setCurrentY(double y) { y_ = y; }
    PrintOrientation orientation() const { return orientation_; }
    void setOrientation(PrintOrientation orientation) { orientation_ = orientation; }
    PrintColorMode colorMode() const { return colorMode_; }
    void setColorMode(PrintColorMode colorMode) { colorMode_ = colorMode; }
    // The page without the margins.
    double availableWidth() const;
    double availableHeight() const;
    double lineHeight() const { return device_.lineHeight(bold_); }
    // The printer, for whatever prints onto the same job.
    PrintDevice& gethDC() { return device_; }

private:
    void endLine();
    // A new page when fewer than lines + 1 more lines fit below the position.
    void checkPage(int lines);
    void printPiece(const std::string& piece);
    void printTooWide(const std::string& token);

    PrintDevice& device_;
    PrintOrientation orientation_ = PrintOrientation::Portrait;
    PrintColorMode colorMode_ = PrintColorMode::Color;
    int copies_ = 1;
    double x_ = 0;
    double y_ = 0;
    bool bold_ = false;
};

} // namespace corvane
