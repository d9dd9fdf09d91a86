#include "display/ClMyPrinter.h"

#include "platform/Windows1252.h"

#include <algorithm>
#include <vector>

namespace corvane {

namespace {

// The pieces of a text: each runs up to and including the next separator; the rest after the last
// separator is the last one.
std::vector<std::string> tokensOf(const std::string& text, char separator) {
    std::vector<std::string> tokens;
    std::size_t start = 0;
    for (std::size_t found = text.find(separator); found != std::string::npos;
         found = text.find(separator, start)) {
        tokens.push_back(text.substr(start, found + 1 - start));
        start = found + 1;
    }
    tokens.push_back(text.substr(start));
    return tokens;
}

} // namespace

bool ClMyPrinter::setup(const PrintDialogOptions& options) {
    PrintDialogChoice choice;
    choice.orientation = orientation_;
    if (!device_.showPrintDialog(options, choice)) {
        return false;
    }
    orientation_ = choice.orientation;
    copies_ = std::max(1, choice.copies);
    colorMode_ = device_.printerColorMode();
    return true;
}

bool ClMyPrinter::startPrint() {
    x_ = 0;
    y_ = 0;
    return device_.beginJob(orientation_, colorMode_);
}

void ClMyPrinter::beginNewPage() {
    device_.newPage();
    x_ = 0;
    y_ = 0;
}

void ClMyPrinter::endPrint() {
    device_.endJob();
}

void ClMyPrinter::abortPrint() {
    device_.abortJob();
}

double ClMyPrinter::availableWidth() const {
    return device_.pageWidth() - kLeftMargin - kRightMargin;
}

double ClMyPrinter::availableHeight() const {
    return device_.pageHeight() - kTopMargin - kBottomMargin;
}

void ClMyPrinter::printText(const std::string& text, double x, double y, char separator) {
    if (x != -1) {
        x_ = x;
    }
    if (y != -1) {
        y_ = y;
    }
    for (const std::string& token : tokensOf(text, separator)) {
        const double width = device_.textWidth(token, bold_);
        if (x_ > 0 && x_ + width > availableWidth()) {
            endLine();
            checkPage(2);
        }
        if (width > availableWidth()) {
            printTooWide(token);
        } else {
            printPiece(token);
        }
    }
    endLine();
    checkPage(2);
}

void ClMyPrinter::printPiece(const std::string& piece) {
    if (!piece.empty()) {
        device_.drawText(kLeftMargin + x_, kTopMargin + y_, piece, bold_);
        x_ += device_.textWidth(piece, bold_);
    }
}

void ClMyPrinter::printTooWide(const std::string& token) {
    // As many whole characters as fit on each line; at least one, so that it always ends.
    std::string line;
    for (std::size_t index = 0; index < token.size();) {
        const std::size_t start = index;
        windows1252::decodeUtf8(token, index);
        const std::string character = token.substr(start, index - start);
        if (!line.empty() && x_ + device_.textWidth(line + character, bold_) > availableWidth()) {
            printPiece(line);
            line.clear();
            endLine();
            checkPage(2);
        }
        line += character;
    }
    printPiece(line);
}

void ClMyPrinter::printVertLine(double space) {
    const double height = lineHeight();
    y_ += space * height;
    device_.drawLine(kLeftMargin, kTopMargin + y_, kLeftMargin + availableWidth(), kTopMargin + y_);
    y_ += space * height;
}

void ClMyPrinter::endLine() {
    x_ = 0;
    y_ += lineHeight();
}

void ClMyPrinter::checkPage(int lines) {
    if (availableHeight() - (lines + 1) * lineHeight() < y_) {
        beginNewPage();
    }
}

} // namespace corvane
