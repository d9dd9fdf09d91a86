#pragma once

#include "platform/PrintDevice.h"

#include <QFont>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QTextDocument;
class QWidget;

namespace corvane {

// The printer on Qt Print Support: the platform's print dialog (any installed printer, and
// "Print to File (PDF)" everywhere), one QPainter job per print, the listing's font ("Arial",
// 10 points, or the system's substitute) and rich text documents printed page by page onto the
// same job. A replacement function, when set, answers the dialog instead (tests, and the command
// line program, which prints to a PDF file without a window).
class QtPrintDevice : public PrintDevice {
public:
    using DialogReplacement =
        std::function<bool(QPrinter& printer, const PrintDialogOptions& options, PrintDialogChoice& choice)>;

    explicit QtPrintDevice(QWidget* parent);
    ~QtPrintDevice() override;
    QtPrintDevice(const QtPrintDevice&) = delete;
    QtPrintDevice& operator=(const QtPrintDevice&) = delete;

    void setDialogReplacement(DialogReplacement replacement) { replacement_ = std::move(replacement); }
    // The printer the dialog chose, for what prints itself (the communication window).
    QPrinter& printer() { return *printer_; }

    // Prints a rich text document inside the margins (twips from the sheet's edges), from the
    // current page on; each further page of the document begins a new one.
    void printDocument(const QTextDocument& document, double left, double top, double right, double bottom);

    // PrintDevice.
    bool showPrintDialog(const PrintDialogOptions& options, PrintDialogChoice& choice) override;
    PrintColorMode printerColorMode() const override;
    bool beginJob(PrintOrientation orientation, PrintColorMode colorMode) override;
    void newPage() override;
    void endJob() override;
    void abortJob() override;
    double pageWidth() const override;
    double pageHeight() const override;
    double textWidth(const std::string& text, bool bold) const override;
    double lineHeight(bool bold) const override;
    void drawText(double x, double y, const std::string& text, bool bold) override;
    void drawLine(double x1, double y1, double x2, double y2) override;

private:
    double pixels(double twips) const;
    double twips(double pixels) const;
    const QFont& font(bool bold) const { return bold ? boldFont_ : font_; }

    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    QFont boldFont_;
    DialogReplacement replacement_;
};

} // namespace corvane
