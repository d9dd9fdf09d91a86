#include "app/gui/MainStatusBar.h"

#include "app/gui/ClickableLabel.h"
#include "app/gui/StatusIcons.h"

#include <QHBoxLayout>
#include <QStatusBar>

namespace corvane {

MainStatusBar::MainStatusBar(QStatusBar& bar, QWidget& window) : QObject(&bar), window_(window) {
    bar.setObjectName("sbStatusBar");
    bar.setSizeGripEnabled(true);
    activityLabel_ = new QLabel(&bar);
    activityLabel_->setObjectName("imgActivity");
    activityLabel_->setPixmap(activityIconPixmap(5));
    bar.addWidget(activityLabel_);
    for (int i = 0; i < 5; ++i) {
        auto* panel = new ClickableLabel(&bar);
        panel->setObjectName(QString("sbPanel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        connect(panel, &ClickableLabel::doubleClicked, this, [this, i] {
            if (panelDoubleClicked_) {
                panelDoubleClicked_(i + 1);
            }
        });
        panels_[static_cast<std::size_t>(i)] = panel;
        bar.addWidget(panel, i == 0 ? 1 : 0);
    }
    lineStrip_ = new QWidget(&bar);
    lineStrip_->setObjectName("LineIndicators");
    auto* strip = new QHBoxLayout(lineStrip_);
    strip->setContentsMargins(2, 0, 2, 0);
    strip->setSpacing(2);
    const char* names[6] = {"RTS", "DTR", "CTS", "DSR", "DCD", "  RI"};
    const char* tips[6] = {
        "", "", "Clear To Send", "Data Set Ready", "Data Carrier Detect", "Ring Indicator"};
    for (int i = 0; i < 6; ++i) {
        auto* line = new ClickableLabel(names[i], lineStrip_);
        line->setObjectName(QString("lblLine%1").arg(QString(names[i]).trimmed()));
        line->setToolTip(tips[i]);
        line->setAutoFillBackground(true);
        line->setAlignment(Qt::AlignCenter);
        line->setMinimumWidth(34);
        line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        connect(line, &ClickableLabel::doubleClicked, this, [this, i] {
            if (lineDoubleClicked_) {
                lineDoubleClicked_(i);
            }
        });
        lines_[static_cast<std::size_t>(i)] = line;
        strip->addWidget(line);
    }
    bar.addPermanentWidget(lineStrip_);
    lineStrip_->setVisible(false);
}

void MainStatusBar::setLineColors(const QColor& outputs, const QColor& inputs) {
    outputsOn_ = outputs;
    inputsOn_ = inputs;
}

QLabel* MainStatusBar::statusPanel(int panel) const {
    return panel >= 1 && panel <= 5 ? panels_[static_cast<std::size_t>(panel - 1)] : nullptr;
}

QLabel* MainStatusBar::lineIndicator(int line) const {
    return line >= 0 && line < 6 ? lines_[static_cast<std::size_t>(line)] : nullptr;
}

void MainStatusBar::showPanel(int panel, const std::string& text, bool visible) {
    if (ClickableLabel* label =
            panel >= 1 && panel <= 5 ? panels_[static_cast<std::size_t>(panel - 1)] : nullptr) {
        label->setText(QString::fromStdString(text));
        label->setVisible(visible);
    }
}

void MainStatusBar::showLineIndicators(bool visible, const std::string& rtsToolTip,
                                       const std::string& dtrToolTip) {
    lineStrip_->setVisible(visible);
    lines_[0]->setToolTip(QString::fromStdString(rtsToolTip));
    lines_[1]->setToolTip(QString::fromStdString(dtrToolTip));
}

bool MainStatusBar::lineIndicatorsShown() const {
    return lineStrip_->isVisibleTo(&window_);
}

void MainStatusBar::showLineStates(const std::array<bool, 6>& states, const std::array<bool, 6>& changed) {
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (!changed[i]) {
            continue;
        }
        QPalette palette = lines_[i]->palette();
        palette.setColor(QPalette::Window, states[i] ? (i < 2 ? outputsOn_ : inputsOn_)
                                                     : lineStrip_->palette().color(QPalette::Window));
        palette.setColor(QPalette::WindowText, states[i] ? Qt::white : Qt::black);
        lines_[i]->setPalette(palette);
    }
}

void MainStatusBar::showActivityIcon(int icon) {
    activityLabel_->setPixmap(activityIconPixmap(icon));
}

} // namespace corvane
