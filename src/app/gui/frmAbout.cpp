#include "app/gui/frmAbout.h"

#include "platform/ApplicationInfo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace corvane {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle("About Corvane");
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel("<h2>Corvane</h2>", this);
    layout->addWidget(name);
    auto* version = new QLabel(QString::fromStdString(versionText()), this);
    version->setObjectName("lblVersion");
    layout->addWidget(version);
    layout->addWidget(new QLabel("Testing, simulating and monitoring serial communication.", this));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setDefault(true);
    QPushButton* info = buttons->addButton("&System Info...", QDialogButtonBox::ActionRole);
    info->setObjectName("cmdSysInfo");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(info, &QPushButton::clicked, this,
            [this] { QMessageBox::information(this, "System Information", systemInformation()); });
    layout->addWidget(buttons);
}

QString frmAbout::systemInformation() const {
    QString text;
    QProcess uname;
    uname.start("uname", {"-a"});
    if (uname.waitForFinished(2000) && uname.exitCode() == 0) {
        text = QString::fromLocal8Bit(uname.readAllStandardOutput()).trimmed();
    } else {
        text = QSysInfo::kernelType() + " " + QSysInfo::kernelVersion();
    }
    text += "\n" + QSysInfo::prettyProductName();
    text += "\nQt " + QString::fromLatin1(qVersion());
    return text;
}

} // namespace corvane
