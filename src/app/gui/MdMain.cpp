#include "app/gui/MdMain.h"

#include "app/control/ProgramFolders.h"
#include "app/gui/CommandLine.h"
#include "app/gui/HelpSystem.h"
#include "app/gui/ProgramState.h"
#include "app/gui/frmInternalError.h"
#include "app/gui/frmMain.h"
#include "persistence/ProgramSettings.h"
#include "platform/InternalError.h"
#include "platform/SettingsStore.h"

#include <QApplication>

namespace corvane {

MdMain::MdMain(StartOptions options) : options_(std::move(options)) {
    welcomeRunner_ = [](frmWelcome& dialog) { return dialog.exec() == QDialog::Accepted; };
}

MdMain::~MdMain() {
    main_.reset();
    help_.reset();
    if (state_) {
        state_->releaseChannels();
    }
}

std::string MdMain::samplesFolder() const {
    return ProgramFolders::samplesFolder(options_.programDirectory);
}

bool MdMain::startUp() {
    state_ = std::make_unique<ProgramState>(std::move(options_.store), options_.messages);
    ProgramState& state = *state_;
    state.stopRequested = false;
    state.messageBoxes.setParentProvider([this]() -> QWidget* {
        QWidget* modal = QApplication::activeModalWidget();
        return modal != nullptr ? modal : main_.get();
    });

    // Library check.
    if (state.library.libInit() != 0x20000) {
        state.messages.inform(kLibraryMessage, MessageIcon::Error);
        state.stopRequested = true;
    } else {
        state.library.libInitHiresTime(0);
        if (const std::string warning = state.store->loadWarning(); !warning.empty()) {
            state.messages.inform(warning, MessageIcon::Warning);
        }
    }
    help_ = std::make_unique<HelpSystem>(state.messages, [this]() -> QWidget* { return main_.get(); });
    help_->setHelpFile(":/help");
    state.messageBoxes.setHelpHandler([this](int topic) { help_->showHelpTopic(kHelpContext, topic); });
    readTweaks(*state.store, state.settings);
    readTapDescriptions(*state.store, state.settings);
    std::vector<std::string> arguments = options_.arguments;
    if (state.stopRequested) {
        return false;
    }

    state.createChannels();
    main_ = std::make_unique<frmMain>(state, *help_);
    main_->load();
    main_->show();
    main_->setWindowCaption();
    main_->setMainScreenDisplayStatus();
    main_->execProjectNew(false);

    if (!arguments.empty()) {
        for (const std::string& argument : arguments) {
            processArgument(argument);
        }
    } else if (!state.settings.skipWelcomeScreen) {
        showWelcome();
    }
    return true;
}

void MdMain::processArgument(const std::string& argument) {
    switch (classifyArgument(argument)) {
    case ArgumentKind::ProjectFile:
        main_->OpenExistingProject(resolveArgumentPath(argument, options_.currentDirectory));
        break;
    case ArgumentKind::NotepadFile:
        main_->OpenExistingNotepad(resolveArgumentPath(argument, options_.currentDirectory));
        break;
    case ArgumentKind::MinimiseSwitch:
        main_->minimiseAll();
        break;
    case ArgumentKind::Unsupported:
        state_->messages.inform(unsupportedArgumentMessage(argument), MessageIcon::Error);
        break;
    }
}

void MdMain::showWelcome() {
    frmWelcome dialog(main_.get());
    if (welcomeRunner_(dialog)) {
        applyWelcomeChoice(dialog.choice(), dialog.skipInFuture());
    } else if (dialog.skipInFuture()) {
        state_->settings.skipWelcomeScreen = true;
    }
}

void MdMain::applyWelcomeChoice(frmWelcome::Choice choice, bool skipInFuture) {
    if (skipInFuture) {
        state_->settings.skipWelcomeScreen = true;
    }
    switch (choice) {
    case frmWelcome::ModemSample:
        if (main_->OpenExistingProject(samplesFolder() + "ModemDiagnostics.ptp")) {
            help_->showHelpTopic(kHelpContext, kHelpModemSample);
        }
        break;
    case frmWelcome::PingPongSample:
        if (main_->OpenExistingProject(samplesFolder() + "PingPong.ptp")) {
            help_->showHelpTopic(kHelpContext, kHelpPingPongSample);
        }
        break;
    case frmWelcome::OpenProject:
        main_->execLoadProject(samplesFolder(), false);
        break;
    case frmWelcome::BlankProject:
        break;
    }
}

void MdMain::run() {
    if (main_) {
        main_->MainLoop();
    }
    main_.reset();
    help_.reset();
    state_->releaseChannels();
}

int MdMain::Main() {
    if (!startUp()) {
        return 1;
    }
    run();
    return 0;
}

void installInternalErrorDialog(std::function<QWidget*()> parent) {
    setInternalErrorReporter([parent](const InternalError& error) {
        QString text = QString::fromStdString(internalErrorDialogText(error, operatingSystemDescription()));
        frmInternalError dialog(text, parent ? parent() : nullptr);
        dialog.exec();
    });
}

} // namespace corvane
