#include "app/gui/frmEditHTMLHeader.h"

#include "app/control/LogFileDialogModel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

// The fields show line ends as the editor knows them; the templates keep CR LF.
QString fieldText(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

std::string templateText(const QPlainTextEdit* field) {
    QString text = field->toPlainText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toStdString();
}

} // namespace

frmEditHTMLHeader::frmEditHTMLHeader(HtmlTemplateEditorModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("frmEditHTMLHeader");
    setWindowTitle(HtmlTemplateEditorModel::kTitle);
    auto* layout = new QVBoxLayout(this);
    auto addField = [&](const QString& caption, const QString& name, int lines) {
        layout->addWidget(new QLabel(caption, this));
        auto* field = new QPlainTextEdit(this);
        field->setObjectName(name);
        field->setLineWrapMode(QPlainTextEdit::NoWrap);
        QFont font("Courier New");
        font.setStyleHint(QFont::Monospace);
        field->setFont(font);
        field->setMinimumHeight(field->fontMetrics().lineSpacing() * lines + 12);
        layout->addWidget(field, lines);
        return field;
    };
    header_ =
        addField("HTML header (%HEADERMSG%: header text, %BACKCOLOR%: background colour)", "txtHeader", 9);
    footer_ = addField("HTML footer (%FOOTERMSG%: footer text)", "txtFooter", 4);
    dataElement_ = addField("Data element (%DATA%: the data, %TEXTCOLOR%: its colour)", "txtDataElement", 2);
    auto* buttons = new QDialogButtonBox(this);
    default_ = buttons->addButton("Back to Default", QDialogButtonBox::ResetRole);
    default_->setObjectName("cmdDefault");
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    ok_->setObjectName("cmdOK");
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName("cmdCancel");
    connect(default_, &QPushButton::clicked, this, &frmEditHTMLHeader::backToDefault);
    connect(ok_, &QPushButton::clicked, this, &frmEditHTMLHeader::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, 560);
    showFields();
}

void frmEditHTMLHeader::showFields() {
    header_->setPlainText(fieldText(model_.fields().header));
    footer_->setPlainText(fieldText(model_.fields().footer));
    dataElement_->setPlainText(fieldText(model_.fields().dataElement));
}

void frmEditHTMLHeader::backToDefault() {
    model_.backToDefault();
    showFields();
}

void frmEditHTMLHeader::confirm() {
    model_.fields() = {templateText(header_), templateText(footer_), templateText(dataElement_)};
    model_.accept();
    accept();
}

} // namespace corvane
