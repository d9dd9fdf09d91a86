#include "app/gui/frmOptions.h"

#include "app/gui/CommWindows.h"
#include "app/gui/ShortcutGridTable.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace corvane {

namespace {

std::int32_t valueOfColor(const QColor& color) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                     (static_cast<std::uint32_t>(color.green()) << 8) |
                                     (static_cast<std::uint32_t>(color.blue()) << 16));
}

QCheckBox* checkBox(const QString& text, const QString& name, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

} // namespace

frmOptions::frmOptions(OptionsDialogModel& model, OptionsTab tab, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("frmOptions");
    setWindowTitle(OptionsDialogModel::kTitle);
    chooseColor_ = [this](const QColor& current) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(current, this);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabOptions");
    tabs_->addTab(buildColorsPage(), "Colors && Fonts");
    tabs_->addTab(buildModesPage(), "Communication Window Modes");
    tabs_->addTab(buildStampsPage(), "Date/Time Stamps");
    tabs_->addTab(buildShortcutsPage(), "Control Characters Shortcuts");
    tabs_->setCurrentIndex(std::clamp(static_cast<int>(tab) - 1, 0, tabs_->count() - 1));
    layout->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    ok_->setObjectName("cmdOK");
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName("cmdCancel");
    connect(ok_, &QPushButton::clicked, this, &frmOptions::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    updateControlStates();
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    resize(800, 540);
}

void frmOptions::addColorField(int index, const QString& caption, std::int32_t& value, QWidget* page) {
    const auto i = static_cast<std::size_t>(index);
    colorValues_[i] = &value;
    colorCaptions_[i] = new QLabel(caption, page);
    colorFields_[i] = new QPushButton(page);
    colorFields_[i]->setObjectName(QString("picColor%1").arg(index));
    colorFields_[i]->setFixedSize(64, 22);
    colorFields_[i]->setToolTip("Click to choose the colour");
    connect(colorFields_[i], &QPushButton::clicked, this, [this, index] { pickColor(index); });
    showColor(index);
}

void frmOptions::showColor(int index) {
    const QColor color = colorFromValue(*colorValues_[static_cast<std::size_t>(index)]);
    colorFields_[static_cast<std::size_t>(index)]->setStyleSheet(
        QString("background-color: %1; border: 1px solid gray;").arg(color.name()));
}

void frmOptions::pickColor(int index) {
    std::int32_t& value = *colorValues_[static_cast<std::size_t>(index)];
    if (const std::optional<QColor> chosen = chooseColor_(colorFromValue(value))) {
        value = valueOfColor(*chosen);
        showColor(index);
    }
}

QWidget* frmOptions::buildColorsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    ProgramSettingsData& options = model_.options();

    auto* colors = new QGroupBox("Colors and text attributes", page);
    auto* grid = new QGridLayout(colors);
    addColorField(0, "Background", options.dispBack, colors);
    addColorField(1, "Channel 1 (sent data)", options.dir1TextColor, colors);
    addColorField(2, "Channel 2 (received data)", options.dir2TextColor, colors);
    addColorField(3, "Comments", options.cmtTextColor, colors);
    grid->addWidget(new QLabel("Bold", colors), 0, 2);
    grid->addWidget(new QLabel("Italics", colors), 0, 3);
    grid->addWidget(new QLabel("Underline", colors), 0, 4);
    // Rows: background, channel 1, channel 2, comments; the attribute boxes carry the style index.
    const int styleOfRow[4] = {-1, 1, 2, 0};
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(colorCaptions_[static_cast<std::size_t>(row)], row + 1, 0);
        grid->addWidget(colorFields_[static_cast<std::size_t>(row)], row + 1, 1);
        const int style = styleOfRow[row];
        if (style < 0) {
            continue;
        }
        const auto s = static_cast<std::size_t>(style);
        bold_[s] = checkBox({}, QString("chkBold%1").arg(style), options.commTextBold[s], colors);
        italics_[s] = checkBox({}, QString("chkItalics%1").arg(style), options.commTextItalics[s], colors);
        underline_[s] =
            checkBox({}, QString("chkUnderline%1").arg(style), options.commTextUnderline[s], colors);
        connect(bold_[s], &QCheckBox::toggled, this,
                [this, s](bool on) { model_.options().commTextBold[s] = on; });
        connect(italics_[s], &QCheckBox::toggled, this,
                [this, s](bool on) { model_.options().commTextItalics[s] = on; });
        connect(underline_[s], &QCheckBox::toggled, this,
                [this, s](bool on) { model_.options().commTextUnderline[s] = on; });
        grid->addWidget(bold_[s], row + 1, 2);
        grid->addWidget(italics_[s], row + 1, 3);
        grid->addWidget(underline_[s], row + 1, 4);
    }
    layout->addWidget(colors);

    auto* font = new QHBoxLayout;
    font->addWidget(new QLabel("Font size", page));
    fontSize_ = new QComboBox(page);
    fontSize_->setObjectName("cboFontSize");
    fontSize_->addItems({"8", "9", "10", "12"});
    fontSize_->setCurrentIndex(fontSizeListIndex(options.dispFontSize));
    connect(fontSize_, &QComboBox::activated, this, &frmOptions::chooseFontSize);
    font->addWidget(fontSize_);
    font->addStretch();
    layout->addLayout(font);

    auto* format = new QGroupBox("Communication window format", page);
    auto* formatLayout = new QVBoxLayout(format);
    plainText_ = new QRadioButton("Plain Text Output (faster display, but no colors && fonts)", format);
    plainText_->setObjectName("optPlainText");
    formatted_ = new QRadioButton("Formatted Text Output (Rich Text Format) ", format);
    formatted_->setObjectName("optFormattedText");
    (options.dispCommWindowFormat == CommWindowFormat::Formatted ? formatted_ : plainText_)->setChecked(true);
    connect(formatted_, &QRadioButton::toggled, this, [this](bool on) {
        model_.options().dispCommWindowFormat = on ? CommWindowFormat::Formatted : CommWindowFormat::Plain;
        updateControlStates();
    });
    formatLayout->addWidget(plainText_);
    formatLayout->addWidget(formatted_);
    layout->addWidget(format);
    layout->addStretch();
    return page;
}

QWidget* frmOptions::buildModesPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    ProgramSettingsData& options = model_.options();
    auto* modes = new QGroupBox("Communication windows shown", page);
    auto* modesLayout = new QHBoxLayout(modes);
    const char* names[4] = {"ASCII", "HEX", "Decimal", "Binary"};
    for (int view = 0; view < 4; ++view) {
        const auto v = static_cast<std::size_t>(view);
        representations_[v] = checkBox(names[view], QString("chkDisplayMode%1").arg(view),
                                       options.commDisplayModeEnabled[v], modes);
        connect(representations_[v], &QCheckBox::toggled, this,
                [this, view](bool checked) { representationToggled(view, checked); });
        modesLayout->addWidget(representations_[v]);
    }
    layout->addWidget(modes);
    auto* control = new QGroupBox("Control characters", page);
    auto* controlLayout = new QVBoxLayout(control);
    auto* name =
        checkBox("Add the character description in the ASCII communication window (e.g. <STX>, <ETX>)",
                 "chkControlCharName", options.controlCharNameInASCII, control);
    auto* suppress = checkBox("Suppress original control char. except <CR>/<LF> (line break)",
                              "chkControlCharSuppress", options.controlCharSuppress, control);
    connect(name, &QCheckBox::toggled, this,
            [this](bool on) { model_.options().controlCharNameInASCII = on; });
    connect(suppress, &QCheckBox::toggled, this,
            [this](bool on) { model_.options().controlCharSuppress = on; });
    controlLayout->addWidget(name);
    controlLayout->addWidget(suppress);
    layout->addWidget(control);
    layout->addStretch();
    return page;
}

void frmOptions::representationToggled(int view, bool checked) {
    model_.options().commDisplayModeEnabled[static_cast<std::size_t>(view)] = checked;
    if (!checked && model_.representationLeft(view)) {
        QSignalBlocker block(representations_[static_cast<std::size_t>(view)]);
        representations_[static_cast<std::size_t>(view)]->setChecked(true);
    }
}

QWidget* frmOptions::buildStampsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    ProgramSettingsData& options = model_.options();
    auto* date = checkBox("Date stamp (day/month/year)", "chkDate", options.stampDate, page);
    auto* time = checkBox("Time stamp (hour/minutes/seconds)", "chkTime", options.stampTime, page);
    auto* newLine = checkBox("Begin a new line / line break", "chkNewLine", options.stampNewLine, page);
    connect(date, &QCheckBox::toggled, this, [this](bool on) { model_.options().stampDate = on; });
    connect(time, &QCheckBox::toggled, this, [this](bool on) { model_.options().stampTime = on; });
    connect(newLine, &QCheckBox::toggled, this, [this](bool on) { model_.options().stampNewLine = on; });
    for (QWidget* box : {date, time, newLine}) {
        layout->addWidget(box);
    }
    auto* resolution = new QGroupBox("Time format", page);
    auto* resolutionLayout = new QVBoxLayout(resolution);
    const char* choices[3] = {"1 seconds resolution (format 23:59:59)",
                              "1/100 seconds resolution (23:59:59.99, as in Corvane V1.0-V1.8)",
                              "1/1000 seconds resolution (format 23:59:59.999)"};
    for (int i = 0; i < 3; ++i) {
        timeFormats_[static_cast<std::size_t>(i)] = new QRadioButton(choices[i], resolution);
        timeFormats_[static_cast<std::size_t>(i)]->setObjectName(QString("optTimeFormat%1").arg(i));
        resolutionLayout->addWidget(timeFormats_[static_cast<std::size_t>(i)]);
        connect(timeFormats_[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                model_.setTimeFormat(static_cast<TimeFormatChoice>(i));
            }
        });
    }
    timeFormats_[static_cast<std::size_t>(model_.timeFormat())]->setChecked(true);
    layout->addWidget(resolution);

    auto addStamp = [&](QCheckBox*& box, QLineEdit*& field, QString& checked, const QString& text,
                        const QString& name, bool on, std::int32_t milliseconds) {
        auto* row = new QHBoxLayout;
        box = checkBox(text, "chk" + name, on, page);
        field = new QLineEdit(QString::fromStdString(secondsText(static_cast<float>(milliseconds) / 1000.0F)),
                              page);
        field->setObjectName("txt" + name);
        field->setMaximumWidth(70);
        checked = field->text();
        row->addWidget(box);
        row->addWidget(field);
        row->addWidget(new QLabel("seconds", page));
        row->addStretch();
        layout->addLayout(row);
    };
    addStamp(clock_, interval_, intervalChecked_, "Clock - additional date/time stamp every ", "Interval",
             options.additionalStampIntervals, options.additionalStampIntervalMs);
    addStamp(pauseStamp_, pause_, pauseChecked_,
             "Pause detection - additional date/time stamp after communication pauses for ", "Pause",
             options.additionalStampPause, options.additionalStampPauseMs);
    connect(clock_, &QCheckBox::toggled, this, [this](bool on) {
        model_.options().additionalStampIntervals = on;
        updateControlStates();
    });
    connect(pauseStamp_, &QCheckBox::toggled, this, [this](bool on) {
        model_.options().additionalStampPause = on;
        updateControlStates();
    });
    connect(interval_, &QLineEdit::editingFinished, this, &frmOptions::intervalLeft);
    connect(pause_, &QLineEdit::editingFinished, this, &frmOptions::pauseLeft);
    layout->addStretch();
    return page;
}

QWidget* frmOptions::buildShortcutsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel("Double click a cell of the Editor or Shortcut column to enter a new editor "
                                 "character or keyboard shortcut.",
                                 page));
    grid_ = new ShortcutGridTable(model_, page);
    layout->addWidget(grid_);
    return page;
}

void frmOptions::updateControlStates() {
    const OptionsControlStates states = model_.controlStates();
    for (int index = 1; index < 4; ++index) {
        colorFields_[static_cast<std::size_t>(index)]->setEnabled(states.textColors);
        colorCaptions_[static_cast<std::size_t>(index)]->setEnabled(states.textColors);
    }
    for (std::size_t style = 0; style < 3; ++style) {
        bold_[style]->setEnabled(states.attributes);
        italics_[style]->setEnabled(states.attributes);
        underline_[style]->setEnabled(states.attributes);
    }
    interval_->setEnabled(states.clockInterval);
    pause_->setEnabled(states.pauseInterval);
}

void frmOptions::chooseFontSize(int listIndex) {
    if (fontSize_->currentIndex() != listIndex) {
        fontSize_->setCurrentIndex(listIndex);
    }
    if (fontSizeOfListIndex(listIndex) != model_.options().dispFontSize) {
        model_.fontSizeChosen(listIndex);
    }
}

bool frmOptions::intervalLeft() {
    if (interval_->text() == intervalChecked_) {
        return true;
    }
    const IntervalCheck check = model_.clockIntervalLeft(interval_->text().toStdString());
    intervalChecked_ = QString::fromStdString(check.text);
    interval_->setText(intervalChecked_);
    return check.ok;
}

bool frmOptions::pauseLeft() {
    if (pause_->text() == pauseChecked_) {
        return true;
    }
    const IntervalCheck check = model_.pauseIntervalLeft(pause_->text().toStdString());
    pauseChecked_ = QString::fromStdString(check.text);
    pause_->setText(pauseChecked_);
    return check.ok;
}

void frmOptions::confirm() {
    const bool intervalOk = intervalLeft();
    const bool pauseOk = pauseLeft();
    if (intervalOk && pauseOk) {
        accept();
    }
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !model_.grid().capturing()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && (key->modifiers() & Qt::ControlModifier) != 0) {
            const bool backwards =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier) != 0;
            tabs_->setCurrentIndex(nextOptionsPage(tabs_->currentIndex(), tabs_->count(), backwards));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace corvane
