#include "platform/qt/QtPrintDevice.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace corvane {

namespace {

constexpr double kTwipsPerPoint = 20;
constexpr double kTwipsPerInch = 1440;

} // namespace

QtPrintDevice::QtPrintDevice(QWidget* parent)
    : parent_(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), font_("Arial", 10) {
    boldFont_ = font_;
    boldFont_.setBold(true);
}

QtPrintDevice::~QtPrintDevice() {
    if (painter_ && painter_->isActive()) {
        painter_->end();
    }
}

bool QtPrintDevice::showPrintDialog(const PrintDialogOptions& options, PrintDialogChoice& choice) {
    printer_->setPrintRange(options.selectionOffered ? QPrinter::Selection : QPrinter::AllPages);
    printer_->setPageOrientation(choice.orientation == PrintOrientation::Landscape ? QPageLayout::Landscape
                                                                                   : QPageLayout::Portrait);
    bool accepted = false;
    if (replacement_) {
        accepted = replacement_(*printer_, options, choice);
    } else {
        QPrintDialog dialog(printer_.get(), parent_);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, options.selectionOffered);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
        accepted = dialog.exec() == QDialog::Accepted;
        if (accepted) {
            choice.copies = printer_->copyCount();
            choice.orientation = printer_->pageLayout().orientation() == QPageLayout::Landscape
                                     ? PrintOrientation::Landscape
                                     : PrintOrientation::Portrait;
            choice.selectionOnly = printer_->printRange() == QPrinter::Selection;
        }
    }
    return accepted;
}

PrintColorMode QtPrintDevice::printerColorMode() const {
    return printer_->colorMode() == QPrinter::Color ? PrintColorMode::Color : PrintColorMode::Monochrome;
}

bool QtPrintDevice::beginJob(PrintOrientation orientation, PrintColorMode colorMode) {
    printer_->setPageOrientation(orientation == PrintOrientation::Landscape ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait);
    printer_->setColorMode(colorMode == PrintColorMode::Color ? QPrinter::Color : QPrinter::GrayScale);
    // The listing prints its copies itself; the sheet's coordinates start at its edge.
    printer_->setCopyCount(1);
    printer_->setFullPage(true);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        return false;
    }
    painter_->setPen(QPen(Qt::black, pixels(10)));
    return true;
}

void QtPrintDevice::newPage() {
    printer_->newPage();
}

void QtPrintDevice::endJob() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
    printer_->setFullPage(false);
}

void QtPrintDevice::abortJob() {
    printer_->abort();
    endJob();
}

double QtPrintDevice::pixels(double twipsValue) const {
    return twipsValue * printer_->resolution() / kTwipsPerInch;
}

double QtPrintDevice::twips(double pixelsValue) const {
    return pixelsValue * kTwipsPerInch / printer_->resolution();
}

double QtPrintDevice::pageWidth() const {
    return printer_->pageLayout().fullRectPoints().width() * kTwipsPerPoint;
}

double QtPrintDevice::pageHeight() const {
    return printer_->pageLayout().fullRectPoints().height() * kTwipsPerPoint;
}

double QtPrintDevice::textWidth(const std::string& text, bool bold) const {
    return twips(QFontMetricsF(font(bold), printer_.get()).horizontalAdvance(QString::fromStdString(text)));
}

double QtPrintDevice::lineHeight(bool bold) const {
    return twips(QFontMetricsF(font(bold), printer_.get()).height());
}

void QtPrintDevice::drawText(double x, double y, const std::string& text, bool bold) {
    if (!painter_) {
        return;
    }
    painter_->setFont(font(bold));
    const QFontMetricsF metrics(font(bold), printer_.get());
    painter_->drawText(QPointF(pixels(x), pixels(y) + metrics.ascent()), QString::fromStdString(text));
}

void QtPrintDevice::drawLine(double x1, double y1, double x2, double y2) {
    if (painter_) {
        painter_->drawLine(QPointF(pixels(x1), pixels(y1)), QPointF(pixels(x2), pixels(y2)));
    }
}

void QtPrintDevice::printDocument(const QTextDocument& document, double left, double top, double right,
                                  double bottom) {
    if (!painter_) {
        return;
    }
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->documentLayout()->setPaintDevice(printer_.get());
    copy->setDocumentMargin(0);
    const QRectF body(pixels(left), pixels(top), pixels(pageWidth() - left - right),
                      pixels(pageHeight() - top - bottom));
    copy->setPageSize(body.size());
    const int pages = copy->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            printer_->newPage();
        }
        painter_->save();
        painter_->translate(body.left(), body.top() - page * body.height());
        const QRectF clip(0, page * body.height(), body.width(), body.height());
        painter_->setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, Qt::black);
        copy->documentLayout()->draw(painter_.get(), context);
        painter_->restore();
    }
}

} // namespace corvane
