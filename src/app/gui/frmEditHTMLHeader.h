#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace corvane {

class HtmlTemplateEditorModel;

// "Customize HTML Output": the header, footer and data element templates of the HTML log files,
// with "Back to Default". OK stores them through the model.
class frmEditHTMLHeader : public QDialog {
    Q_OBJECT
public:
    explicit frmEditHTMLHeader(HtmlTemplateEditorModel& model, QWidget* parent = nullptr);

    QPlainTextEdit* headerField() const { return header_; }
    QPlainTextEdit* footerField() const { return footer_; }
    QPlainTextEdit* dataElementField() const { return dataElement_; }
    QPushButton* defaultButton() const { return default_; }
    QPushButton* okButton() const { return ok_; }

    void backToDefault();
    void confirm();

private:
    void showFields();

    HtmlTemplateEditorModel& model_;
    QPlainTextEdit* header_ = nullptr;
    QPlainTextEdit* footer_ = nullptr;
    QPlainTextEdit* dataElement_ = nullptr;
    QPushButton* default_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace corvane
