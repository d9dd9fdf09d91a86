#include "CliPrint.h"

#include "app/gui/RichTextConversion.h"
#include "display/ClMyPrinter.h"
#include "platform/qt/QtPrintDevice.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTextDocument>

namespace corvane::cli {

bool printProjectToPdf(const std::string& pdfPath, const ProjectListingInput& listing,
                       const RichTextDocument* notes, const CharacterFormat& notesFont, std::string& error) {
    const QString path = QFileInfo(QString::fromStdString(pdfPath)).absoluteFilePath();
    QtPrintDevice device(nullptr);
    device.setDialogReplacement(
        [&path](QPrinter& printer, const PrintDialogOptions&, PrintDialogChoice& choice) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            choice.copies = 1;
            return true;
        });
    ClMyPrinter printer(device);
    printer.setup();
    QTextDocument notesDocument;
    if (notes != nullptr) {
        QFont font(QString::fromStdString(notesFont.fontName));
        font.setPointSizeF(notesFont.halfPoints / 2.0);
        notesDocument.setDefaultFont(font);
        fillTextDocument(notesDocument, *notes, notesFont);
    }
    auto printNotes = [&](ClMyPrinter&) {
        device.printDocument(notesDocument, ClMyPrinter::kLeftMargin, ClMyPrinter::kTopMargin,
                             ClMyPrinter::kRightMargin, ClMyPrinter::kBottomMargin);
    };
    std::function<void(ClMyPrinter&)> notesPrinter;
    if (notes != nullptr) {
        notesPrinter = printNotes;
    }
    if (!printProjectListing(printer, projectListingLines(listing), notesPrinter) ||
        !QFileInfo(path).isFile()) {
        error = "cannot write the PDF file " + pdfPath;
        return false;
    }
    return true;
}

} // namespace corvane::cli
