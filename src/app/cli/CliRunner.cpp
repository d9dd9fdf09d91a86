#include "CliRunner.h"

#include "CliConsole.h"
#include "CliOptions.h"
#include "CliProjectListing.h"

#include "communication/CommunicationEngine.h"
#include "communication/ExpertOptions.h"
#include "display/CommOutputRouter.h"
#include "display/DataOutputSettings.h"
#include "display/MdLogging.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProjectFiles.h"
#include "persistence/ProjectIdentity.h"
#include "platform/ApplicationInfo.h"
#include "platform/HiresTimeSource.h"
#include "platform/PolledTimerService.h"
#include "platform/ShortDateFormat.h"
#include "platform/qt/QtChannelSocket.h"
#include "platform/qt/QtSerialFunctionLibrary.h"
#include "platform/qt/QtSettingsStore.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace corvane::cli {

namespace {

volatile std::sig_atomic_t gStopSignal = 0;

void onStopSignal(int) {
    gStopSignal = 1;
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

void error(const std::string& text) {
    std::fprintf(stderr, "corvane-cli: %s\n", text.c_str());
}

// The locale's short date pattern, when it uses only numeric day, month and year fields.
ShortDateFormat systemDateFormat() {
    std::string pattern = QLocale::system().dateFormat(QLocale::ShortFormat).toStdString();
    if (pattern.find("MMM") != std::string::npos || pattern.find("ddd") != std::string::npos) {
        return ShortDateFormat();
    }
    return ShortDateFormat(pattern);
}

// A send sequence by name (the first one with that name) or by 0-based index; -1 if none.
int findSendSequence(const SendSequenceList& list, const std::string& key) {
    for (int i = 0; i < list.upperIndex(); ++i) {
        if (list[i].name == key) {
            return i;
        }
    }
    char* end = nullptr;
    long index = std::strtol(key.c_str(), &end, 10);
    if (!key.empty() && end != nullptr && *end == '\0' && index >= 0 && index < list.upperIndex()) {
        return static_cast<int>(index);
    }
    return -1;
}

std::string sendFailure(MdCommunicationSend::SendResult result, const std::string& name) {
    switch (result) {
    case MdCommunicationSend::SendResult::NoParameterDialog:
        return "send sequence \"" + name +
               "\" contains wildcards; corvane-cli cannot ask for their values, so it is not sent";
    case MdCommunicationSend::SendResult::NotPossible:
        return "send sequence \"" + name + "\" is not sent: this communication mode never sends";
    case MdCommunicationSend::SendResult::QueueOverflow:
        return "send sequence \"" + name + "\" is not sent: the send queue overflowed";
    default:
        return "send sequence \"" + name + "\" is not sent";
    }
}

} // namespace

int runCli(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    CliOptions options;
    std::string problem;
    if (!parseCliOptions(arguments, options, problem)) {
        error(problem);
        std::fputs(usageText().c_str(), stderr);
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(usageText().c_str(), stdout);
        return kExitNormal;
    }
    for (const auto& [number, device] : options.ports) {
        setenv(("CORVANE_COM" + std::to_string(number)).c_str(), device.c_str(), 1);
    }

    // The user's program settings are read, never written: the project loader works on a copy.
    QtSettingsStore userStore;
    MemorySettingsStore store;
    ProgramSettingsData settings;
    readTextSetupSettings(userStore, settings);
    readColorSettings(userStore, settings);
    readStampSettings(userStore, settings);
    readLogFileSettings(userStore, settings);
    readEditSettings(userStore, settings);
    readTweaks(userStore, settings);
    ExpertOptions expert = readExpertOptions(userStore);
    // No external high priority process without a window.
    expert.communicationDriverMode = 0;

    CliMessageService messages(stderr);
    HeadlessClipboard clipboard;
    HeadlessListListener listListener;
    modSequenceManagement lists(messages, clipboard, listListener);
    CommunicationSettings communication;
    ProjectIdentity identity;
    HeadlessProjectHost host;
    HeadlessNotepad notepad;
    ProjectEnvironment env{lists, communication, identity, settings, store, messages, host, notepad};

    std::error_code ignored;
    std::filesystem::path projectPath = std::filesystem::absolute(options.project, ignored);
    if (!std::filesystem::is_regular_file(projectPath, ignored)) {
        error("no such project file: " + options.project);
        return kExitUsage;
    }
    ProjectIdentity chosen = projectIdentityOf(projectPath.string());
    std::string baseName = chosen.baseName;
    if (!loadProject(env, chosen.directory, baseName, false)) {
        error("the project could not be loaded: " + options.project);
        return kExitUsage;
    }

    if (options.list) {
        QString date = QString::fromStdString(systemDateFormat().format(
            QDate::currentDate().year(), QDate::currentDate().month(), QDate::currentDate().day()));
        std::string listing =
            projectListing(date.toStdString(), applicationTitle(), identity.projectFilePath(), communication,
                           lists.sendList(), lists.receiveList(),
                           static_cast<Representation>(settings.dispSequListRepresentation & 3));
        std::fputs(listing.c_str(), stdout);
        return kExitNormal;
    }

    std::vector<int> sends;
    for (const std::string& key : options.sends) {
        int index = findSendSequence(lists.sendList(), key);
        if (index < 0) {
            error("the project has no send sequence \"" + key + "\"");
            return kExitUsage;
        }
        sends.push_back(index);
    }

    installSignalHandlers();
    RealSystemClock clock;
    QtSerialFunctionLibrary library(userStore, nullptr);
    if (library.libInit() != kSerialLibraryVersion) {
        error("the serial function library has the wrong version");
        return kExitCannotStart;
    }
    LibraryHiresTimeSource timeSource(library);
    PolledTimerService timers(clock);
    QtSocketFactory sockets;
    ClCommChannel channel1(library, &sockets, &clock);
    ClCommChannel channel2(library, &sockets, &clock);

    const bool colours = isatty(fileno(stdout)) != 0;
    CliConsole console(stdout, options.view, colours,
                       {settings.cmtTextColor, settings.dir1TextColor, settings.dir2TextColor});

    // Logging follows the command line, not the user's log options.
    settings.logBaseFilePath = options.logBase;
    settings.logFormat = options.logHtml ? 1 : 0;
    settings.logASCII = options.logViews[0];
    settings.logHEX = options.logViews[1];
    settings.logDecimal = options.logViews[2];
    settings.logBinary = options.logViews[3];
    settings.logCommWindowDisabled = false;
    const ShortDateFormat dateFormat = systemDateFormat();
    MdLogging logging(settings, messages, timers, clock, timeSource, dateFormat);
    if (!options.logBase.empty() && !logging.openLogFiles()) {
        error("the log files could not be opened");
        return kExitUsage;
    }

    CommOutputRouter router(options.quiet ? nullptr : &console, &logging);
    std::array<bool, 4> shown{false, false, false, false};
    if (!options.quiet) {
        shown[static_cast<std::size_t>(options.view)] = true;
    }
    router.setWindowViews(shown);

    CommunicationEngine engine(library, channel1, channel2, communication, expert, lists.sendList(),
                               lists.receiveList(), messages, clock, router, timeSource);
    DataOutputOptions outputOptions = dataOutputOptionsFrom(settings);
    outputOptions.windowFormat = CommWindowFormat::Plain;
    engine.output().setOptions(outputOptions);
    engine.output().setDateFormat(dateFormat);
    engine.output().setEnabledRepresentations(
        enabledRepresentations(shown, logging.loggingRuns(), false, logging.recordedViews()));
    engine.send().setTxFifoSize(settings.timingTxFifoSize);
    router.setSnapshotFullHook([&engine] { engine.stopCommunication(); });

    engine.startCommunication();
    if (!engine.communicationRuns()) {
        logging.stopLogging(true);
        return kExitCannotStart;
    }
    for (int index : sends) {
        MdCommunicationSend::SendResult result = engine.send().sendSendSequence(index, SendKind::Once);
        if (result != MdCommunicationSend::SendResult::Queued) {
            error(sendFailure(result, lists.sendList()[index].name));
        }
    }

    using SteadyClock = std::chrono::steady_clock;
    const auto started = SteadyClock::now();
    const bool timed = options.durationSeconds >= 0;
    const auto deadline = started + std::chrono::duration_cast<SteadyClock::duration>(
                                        std::chrono::duration<double>(timed ? options.durationSeconds : 0));
    // The pass comes right after the idle wait, so that what woke it is answered first.
    while (gStopSignal == 0) {
        bool idle = engine.communicationPass();
        QCoreApplication::processEvents();
        timers.processDueTimers();
        console.flush();
        if (!engine.communicationRuns()) {
            break;
        }
        if (timed && SteadyClock::now() >= deadline) {
            break;
        }
        if (idle) {
            engine.idleWait(engine.idleWaitMs());
        }
    }
    engine.stopCommunication();
    engine.output().flush(true);
    if (!options.quiet && console.written() > 0) {
        std::fputc('\n', stdout);
    }
    console.flush();
    logging.stopLogging();
    std::fflush(stdout);
    return kExitNormal;
}

} // namespace corvane::cli
