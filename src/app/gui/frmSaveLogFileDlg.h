#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class ClickableLabel;
class LogFileDialogModel;

// "Create Log File(s)": the representations to log, each with the name of its file, the format,
// append or overwrite, the window switched off while logging, no headers, the file base with its
// browse button and the link to the HTML templates. It edits the model's copy of the options; OK
// is the model's check.
class frmSaveLogFileDlg : public QDialog {
    Q_OBJECT
public:
    // Asks for a file name with this title, filter ("description| *.ext") and start path; empty
    // when cancelled.
    using BrowseDialog = std::function<std::string(const std::string& title, const std::string& filter,
                                                   const std::string& start)>;

    frmSaveLogFileDlg(LogFileDialogModel& model, BrowseDialog browse, std::function<void()> editHtmlTemplates,
                      QWidget* parent = nullptr);

    // The platform's save-file dialog, without the overwrite prompt.
    static std::string browseWithFileDialog(QWidget* parent, const std::string& title,
                                            const std::string& filter, const std::string& start);

    // Parts the tests look at.
    QCheckBox* representationBox(int view) const { return boxes_[static_cast<std::size_t>(view)]; }
    QLabel* fileNameLabel(int view) const { return labels_[static_cast<std::size_t>(view)]; }
    QRadioButton* htmlOption() const { return html_; }
    QRadioButton* plainOption() const { return plain_; }
    QRadioButton* appendOption() const { return append_; }
    QRadioButton* overwriteOption() const { return overwrite_; }
    QCheckBox* windowDisabledBox() const { return windowDisabled_; }
    QCheckBox* noHeadersBox() const { return noHeaders_; }
    QLineEdit* baseField() const { return base_; }
    QPushButton* browseButton() const { return browseButton_; }
    ClickableLabel* htmlLink() const { return htmlLink_; }
    QPushButton* okButton() const { return ok_; }

    void browse();
    void confirm();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* buildFilesGroup();
    QHBoxLayout* buildBaseRow();
    QGroupBox* buildFormatGroup(std::function<void()> editHtmlTemplates);
    QGroupBox* buildExistingGroup();
    void updateFileNames();

    LogFileDialogModel& model_;
    BrowseDialog browse_;
    std::array<QCheckBox*, 4> boxes_{};
    std::array<QLabel*, 4> labels_{};
    QRadioButton* html_ = nullptr;
    QRadioButton* plain_ = nullptr;
    QRadioButton* append_ = nullptr;
    QRadioButton* overwrite_ = nullptr;
    QCheckBox* windowDisabled_ = nullptr;
    QCheckBox* noHeaders_ = nullptr;
    QLineEdit* base_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    ClickableLabel* htmlLink_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace corvane
