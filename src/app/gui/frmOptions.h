#pragma once

#include "app/control/OptionsDialogModel.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace corvane {

class ShortcutGridTable;

// The options dialog: colours and text attributes of the communication window, font size, output
// format, the representations shown, control character display, date/time stamps and the grid of
// editor characters and keyboard shortcuts. It shows and edits the model's copy of the options;
// the checks are the model's.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    // Chooses a colour starting from the current one; nothing when cancelled. The platform's colour
    // dialog unless replaced (tests).
    using ColorChooser = std::function<std::optional<QColor>(const QColor& current)>;

    frmOptions(OptionsDialogModel& model, OptionsTab tab, QWidget* parent = nullptr);

    void setColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }

    // Parts the tests look at.
    QTabWidget* tabs() const { return tabs_; }
    // 0 background, 1 channel 1, 2 channel 2, 3 comments.
    QPushButton* colorField(int index) const { return colorFields_[static_cast<std::size_t>(index)]; }
    QLabel* colorCaption(int index) const { return colorCaptions_[static_cast<std::size_t>(index)]; }
    // Indexed by style: 0 comments, 1 channel 1, 2 channel 2.
    QCheckBox* boldBox(int style) const { return bold_[static_cast<std::size_t>(style)]; }
    QCheckBox* italicsBox(int style) const { return italics_[static_cast<std::size_t>(style)]; }
    QCheckBox* underlineBox(int style) const { return underline_[static_cast<std::size_t>(style)]; }
    QComboBox* fontSizeList() const { return fontSize_; }
    QRadioButton* plainTextOption() const { return plainText_; }
    QRadioButton* formattedOption() const { return formatted_; }
    QCheckBox* representationBox(int view) const { return representations_[static_cast<std::size_t>(view)]; }
    QLineEdit* intervalField() const { return interval_; }
    QLineEdit* pauseField() const { return pause_; }
    QCheckBox* clockBox() const { return clock_; }
    QCheckBox* pauseBox() const { return pauseStamp_; }
    QRadioButton* timeFormatOption(TimeFormatChoice choice) const {
        return timeFormats_[static_cast<std::size_t>(choice)];
    }
    ShortcutGridTable* grid() const { return grid_; }
    QPushButton* okButton() const { return ok_; }

    // The font size list entry chosen by the user, as leaving the list checks it.
    void chooseFontSize(int listIndex);
    // The checks a field runs when it is left; false when the entry was corrected.
    bool intervalLeft();
    bool pauseLeft();
    // OK: the fields are checked once more; a corrected one keeps the dialog open.
    void confirm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildColorsPage();
    QWidget* buildModesPage();
    QWidget* buildStampsPage();
    QWidget* buildShortcutsPage();
    void addColorField(int index, const QString& caption, std::int32_t& value, QWidget* page);
    void pickColor(int index);
    void showColor(int index);
    void updateControlStates();
    void representationToggled(int view, bool checked);

    OptionsDialogModel& model_;
    ColorChooser chooseColor_;
    QTabWidget* tabs_ = nullptr;
    std::array<QPushButton*, 4> colorFields_{};
    std::array<QLabel*, 4> colorCaptions_{};
    std::array<std::int32_t*, 4> colorValues_{};
    std::array<QCheckBox*, 3> bold_{};
    std::array<QCheckBox*, 3> italics_{};
    std::array<QCheckBox*, 3> underline_{};
    QComboBox* fontSize_ = nullptr;
    QRadioButton* plainText_ = nullptr;
    QRadioButton* formatted_ = nullptr;
    std::array<QCheckBox*, 4> representations_{};
    std::array<QRadioButton*, 3> timeFormats_{};
    QCheckBox* clock_ = nullptr;
    QCheckBox* pauseStamp_ = nullptr;
    QLineEdit* interval_ = nullptr;
    QLineEdit* pause_ = nullptr;
    QString intervalChecked_;
    QString pauseChecked_;
    ShortcutGridTable* grid_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace corvane
