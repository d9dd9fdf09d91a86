#pragma once

#include "platform/PrintDevice.h"
#include "platform/Windows1252.h"

#include <string>
#include <vector>

namespace corvane {

// A printer of fixed metrics that records what is printed where: every character is 100 twips
// wide (bold ones 120), a line 240 twips high, the sheet 12000 x 16000 twips. The dialog answers
// as the test says.
class FakePrintDevice : public PrintDevice {
public:
    struct Text {
        int page;
        double x;
        double y;
        std::string text;
        bool bold;
    };
    struct Line {
        int page;
        double x1, y1, x2, y2;
    };

    bool showPrintDialog(const PrintDialogOptions& options, PrintDialogChoice& answer) override {
        dialogs.push_back(options);
        answer = choice;
        return !cancel;
    }
    PrintColorMode printerColorMode() const override { return colorMode; }
    bool beginJob(PrintOrientation orientation, PrintColorMode mode) override {
        jobOrientation = orientation;
        jobColorMode = mode;
        ++jobs;
        page = 0;
        pages = 1;
        return !failToStart;
    }
    void newPage() override {
        ++page;
        ++pages;
    }
    void endJob() override { ++ended; }
    void abortJob() override { ++aborted; }
    double pageWidth() const override { return width; }
    double pageHeight() const override { return height; }
    double textWidth(const std::string& text, bool bold) const override {
        return static_cast<double>(windows1252::characterCount(text)) * (bold ? 120 : 100);
    }
    double lineHeight(bool) const override { return 240; }
    void drawText(double x, double y, const std::string& text, bool bold) override {
        texts.push_back(Text{page, x, y, text, bold});
    }
    void drawLine(double x1, double y1, double x2, double y2) override {
        lines.push_back(Line{page, x1, y1, x2, y2});
    }

    // The texts of one page joined, lines by their y, as a reader would see them.
    std::vector<std::string> pageLines(int which) const {
        std::vector<std::string> result;
        double lastY = -1;
        for (const Text& t : texts) {
            if (t.page != which) {
                continue;
            }
            if (result.empty() || t.y != lastY) {
                result.emplace_back();
                lastY = t.y;
            }
            result.back() += t.text;
        }
        return result;
    }

    PrintDialogChoice choice;
    bool cancel = false;
    bool failToStart = false;
    PrintColorMode colorMode = PrintColorMode::Color;
    double width = 12000;
    double height = 16000;

    std::vector<PrintDialogOptions> dialogs;
    PrintOrientation jobOrientation = PrintOrientation::Portrait;
    PrintColorMode jobColorMode = PrintColorMode::Color;
    int jobs = 0;
    int ended = 0;
    int aborted = 0;
    int page = 0;
    int pages = 0;
    std::vector<Text> texts;
    std::vector<Line> lines;
};

} // namespace corvane
