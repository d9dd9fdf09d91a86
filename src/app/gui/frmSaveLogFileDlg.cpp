#include "app/gui/frmSaveLogFileDlg.h"

#include "app/control/LogFileDialogModel.h"
#include "app/gui/ClickableLabel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace corvane {

frmSaveLogFileDlg::frmSaveLogFileDlg(LogFileDialogModel& model, BrowseDialog browse,
                                     std::function<void()> editHtmlTemplates, QWidget* parent)
    : QDialog(parent), model_(model), browse_(std::move(browse)) {
    setObjectName("frmSaveLogFileDlg");
    setWindowTitle(LogFileDialogModel::kTitle);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFilesGroup());
    layout->addLayout(buildBaseRow());
    layout->addWidget(buildFormatGroup(std::move(editHtmlTemplates)));
    layout->addWidget(buildExistingGroup());

    const auto& options = model_.options();
    windowDisabled_ =
        new QCheckBox("Disable communication window while logging (e.g. for monitoring high speed "
                      "communication on a slow PC)",
                      this);
    windowDisabled_->setObjectName("chkCommWindowDisabled");
    windowDisabled_->setChecked(options.windowDisabled);
    connect(windowDisabled_, &QCheckBox::toggled, this,
            [this](bool on) { model_.options().windowDisabled = on; });
    noHeaders_ = new QCheckBox("Do not write additional header and footer texts", this);
    noHeaders_->setObjectName("chkNoHeaders");
    noHeaders_->setChecked(options.noHeaders);
    connect(noHeaders_, &QCheckBox::toggled, this, [this](bool on) { model_.options().noHeaders = on; });
    layout->addWidget(windowDisabled_);
    layout->addWidget(noHeaders_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    ok_->setObjectName("cmdOK");
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName("cmdCancel");
    connect(ok_, &QPushButton::clicked, this, &frmSaveLogFileDlg::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 440);
    updateFileNames();
}

QGroupBox* frmSaveLogFileDlg::buildFilesGroup() {
    const auto& options = model_.options();
    auto* files = new QGroupBox("Log files", this);
    auto* filesLayout = new QGridLayout(files);
    filesLayout->setColumnStretch(1, 1);
    const char* names[4] = {"ASCII", "HEX", "Decimal", "Binary"};
    for (int view = 0; view < 4; ++view) {
        const auto v = static_cast<std::size_t>(view);
        boxes_[v] = new QCheckBox(names[view], files);
        boxes_[v]->setObjectName(QString("chkRepresentation%1").arg(view));
        boxes_[v]->setChecked(options.chosen[v]);
        labels_[v] = new QLabel(files);
        labels_[v]->setObjectName(QString("lblFileName%1").arg(view));
        labels_[v]->setMinimumWidth(120);
        labels_[v]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        connect(boxes_[v], &QCheckBox::toggled, this, [this, v](bool on) {
            model_.options().chosen[v] = on;
            updateFileNames();
        });
        filesLayout->addWidget(boxes_[v], view, 0);
        filesLayout->addWidget(labels_[v], view, 1);
    }
    return files;
}

QHBoxLayout* frmSaveLogFileDlg::buildBaseRow() {
    auto* baseRow = new QHBoxLayout;
    baseRow->addWidget(new QLabel("Directory and base name", this));
    base_ = new QLineEdit(QString::fromStdString(model_.options().base), this);
    base_->setObjectName("txtBaseFilePath");
    connect(base_, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_.options().base = text.toStdString();
        updateFileNames();
    });
    browseButton_ = new QPushButton("...", this);
    browseButton_->setObjectName("cmdBrowse");
    connect(browseButton_, &QPushButton::clicked, this, &frmSaveLogFileDlg::browse);
    baseRow->addWidget(base_, 1);
    baseRow->addWidget(browseButton_);
    return baseRow;
}

QGroupBox* frmSaveLogFileDlg::buildFormatGroup(std::function<void()> editHtmlTemplates) {
    const auto& options = model_.options();
    auto* format = new QGroupBox("Format", this);
    auto* formatLayout = new QVBoxLayout(format);
    html_ = new QRadioButton("HTML file for web browsers (.htm)", format);
    html_->setObjectName("optHtml");
    plain_ = new QRadioButton("Plain text file (.txt)", format);
    plain_->setObjectName("optPlainText");
    (options.html ? html_ : plain_)->setChecked(true);
    htmlLink_ = new ClickableLabel("<u>Customize HTML Output</u>", format);
    htmlLink_->setObjectName("lblCustomizeHtml");
    htmlLink_->setCursor(Qt::PointingHandCursor);
    htmlLink_->setVisible(options.html);
    connect(htmlLink_, &ClickableLabel::clicked, this, [editHtmlTemplates = std::move(editHtmlTemplates)] {
        if (editHtmlTemplates) {
            editHtmlTemplates();
        }
    });
    connect(html_, &QRadioButton::toggled, this, [this](bool on) {
        model_.options().html = on;
        htmlLink_->setVisible(on);
        updateFileNames();
    });
    formatLayout->addWidget(html_);
    formatLayout->addWidget(htmlLink_);
    formatLayout->addWidget(plain_);
    return format;
}

QGroupBox* frmSaveLogFileDlg::buildExistingGroup() {
    auto* existing = new QGroupBox("Existing files", this);
    auto* existingLayout = new QVBoxLayout(existing);
    append_ = new QRadioButton("Append new data, if file(s) already exist", existing);
    append_->setObjectName("optAppend");
    overwrite_ = new QRadioButton("Overwrite existing files", existing);
    overwrite_->setObjectName("optOverwrite");
    (model_.options().append ? append_ : overwrite_)->setChecked(true);
    connect(append_, &QRadioButton::toggled, this, [this](bool on) { model_.options().append = on; });
    existingLayout->addWidget(append_);
    existingLayout->addWidget(overwrite_);
    return existing;
}

void frmSaveLogFileDlg::updateFileNames() {
    for (int view = 0; view < 4; ++view) {
        QLabel* label = labels_[static_cast<std::size_t>(view)];
        const QFontMetrics metrics(label->font());
        const int width = label->contentsRect().width();
        const std::string name = shortenedInTheMiddle(model_.fileName(view), [&](const std::string& text) {
            return metrics.horizontalAdvance(QString::fromStdString(text)) <= width;
        });
        label->setText(QString::fromStdString(name));
        label->setToolTip(QString::fromStdString(model_.fileName(view)));
        label->setEnabled(model_.options().chosen[static_cast<std::size_t>(view)]);
    }
}

void frmSaveLogFileDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    updateFileNames();
}

void frmSaveLogFileDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    updateFileNames();
}

std::string frmSaveLogFileDlg::browseWithFileDialog(QWidget* parent, const std::string& title,
                                                    const std::string& filter, const std::string& start) {
    // "description| *.ext" as Qt writes a filter: "description (*.ext)".
    QString description = QString::fromStdString(filter);
    QString pattern;
    const qsizetype bar = description.indexOf('|');
    if (bar >= 0) {
        pattern = description.mid(bar + 1).trimmed();
        description = description.left(bar).trimmed();
    }
    QFileDialog dialog(parent, QString::fromStdString(title), QString::fromStdString(start));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(description + " (" + pattern + ")");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first().toStdString();
}

void frmSaveLogFileDlg::browse() {
    const int view =
        static_cast<int>(std::find(model_.options().chosen.begin(), model_.options().chosen.end(), true) -
                         model_.options().chosen.begin());
    const std::string chosen = browse_(LogFileDialogModel::kBrowseTitle, model_.browseFilter(),
                                       model_.fileName(view < 4 ? view : 0));
    if (chosen.empty()) {
        return;
    }
    model_.fileChosen(chosen);
    base_->setText(QString::fromStdString(model_.options().base));
}

void frmSaveLogFileDlg::confirm() {
    switch (model_.accept()) {
    case LogFileDialogModel::OkResult::Accepted:
        accept();
        break;
    case LogFileDialogModel::OkResult::NoRepresentation:
        boxes_[0]->setFocus();
        break;
    case LogFileDialogModel::OkResult::NoBase:
        base_->setFocus();
        break;
    }
}

} // namespace corvane
