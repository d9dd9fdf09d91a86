#include "CliRunner.h"

#include "CliConsole.h"
#include "CliNotepad.h"
#include "CliOptions.h"
#include "CliPorts.h"
#include "CliPrint.h"
#include "CliProjectListing.h"
#include "CliRunSession.h"
#include "CliSnapshot.h"

#include "communication/CommunicationEngine.h"
#include "communication/ExpertOptions.h"
#include "communication/MdTapSupport.h"
#include "display/CommOutputRouter.h"
#include "display/DataOutputSettings.h"
#include "display/MdLogging.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProjectFiles.h"
#include "persistence/ProjectIdentity.h"
#include "platform/ApplicationInfo.h"
#include "platform/FtdiDeviceList.h"
#include "platform/HiresTimeSource.h"
#include "platform/PolledTimerService.h"
#include "platform/ShortDateFormat.h"
#include "platform/qt/QtChannelSocket.h"
#include "platform/qt/QtSerialDeviceEnumerator.h"
#include "platform/qt/QtSerialFunctionLibrary.h"
#include "platform/qt/QtSettingsStore.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
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

constexpr int kOutputDrainMs = 1000;
constexpr int kErrorDrainMs = 500;

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Standard error never holds up a pass either; what waits is written when the run ends.
class ErrorOutput {
public:
    ErrorOutput() : out_(STDERR_FILENO, 64 * 1024) {}
    ~ErrorOutput() { out_.drain(kErrorDrainMs); }
    ErrorOutput(const ErrorOutput&) = delete;
    ErrorOutput& operator=(const ErrorOutput&) = delete;

    ConsoleOutput& output() { return out_; }
    void error(const std::string& text) { out_.write("corvane-cli: " + text + "\n"); }
    // An engine message (time stamp, "CORVANE reports: " and its lines ending in CR LF) as lines.
    void report(const std::string& message) {
        std::string text = message.substr(std::min(message.find_first_not_of(' '), message.size()));
        std::string lines;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find("\r\n", start);
            lines +=
                "corvane-cli: " + text.substr(start, end == std::string::npos ? end : end - start) + "\n";
            start = end == std::string::npos ? text.size() : end + 2;
        }
        out_.write(lines);
    }

private:
    ConsoleOutput out_;
};

// The locale's short date pattern, when it uses only numeric day, month and year fields.
ShortDateFormat systemDateFormat() {
    std::string pattern = QLocale::system().dateFormat(QLocale::ShortFormat).toStdString();
    if (pattern.find("MMM") != std::string::npos || pattern.find("ddd") != std::string::npos) {
        return ShortDateFormat();
    }
    return ShortDateFormat(pattern);
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
    ErrorOutput err;
    const auto error = [&err](const std::string& text) { err.error(text); };
    if (!parseCliOptions(arguments, options, problem)) {
        error(problem);
        err.output().write(usageText());
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
    if (const std::string warning = userStore.loadWarning(); !warning.empty()) {
        error(warning);
    }
    // The serial devices, for the COM numbers of newly plugged adapters and the monitoring taps.
    QtSerialDeviceEnumerator systemDevices;
    CliPortStore portStore(userStore);
    if (options.listPorts) {
        PortMap ports(portStore.store(), &systemDevices);
        std::fputs(portsListing(ports.listPorts()).c_str(), stdout);
        return kExitNormal;
    }
    MemorySettingsStore store;
    ProgramSettingsData settings;
    readTextSetupSettings(userStore, settings);
    readColorSettings(userStore, settings);
    readStampSettings(userStore, settings);
    readLogFileSettings(userStore, settings);
    readEditSettings(userStore, settings);
    readTweaks(userStore, settings);
    // Driver mode 1 is refused at the start as in the program with a window: this build has no
    // external high priority process.
    ExpertOptions expert = readExpertOptions(userStore);

    CliMessageService messages(err.output());
    HeadlessClipboard clipboard;
    HeadlessListListener listListener;
    modSequenceManagement lists(messages, clipboard, listListener);
    CommunicationSettings communication;
    ProjectIdentity identity;
    HeadlessProjectHost host;
    CliNotepad notepad;
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

    const std::string date = systemDateFormat().format(
        QDate::currentDate().year(), QDate::currentDate().month(), QDate::currentDate().day());
    const auto representation = static_cast<Representation>(settings.dispSequListRepresentation & 3);
    if (options.list) {
        std::string listing =
            projectListing(date, applicationTitle(), identity.projectFilePath(), communication,
                           lists.sendList(), lists.receiveList(), representation);
        if (!notepad.IsEmpty()) {
            listing += plainTextOf(notepad.document()) + "\n";
        }
        std::fputs(listing.c_str(), stdout);
        return kExitNormal;
    }
    if (!options.printPdf.empty()) {
        const ProjectListingInput listing{date,          applicationTitle(), identity.projectFilePath(),
                                          communication, lists.sendList(),   lists.receiveList(),
                                          representation};
        CharacterFormat notesFont;
        notesFont.fontName = "Arial";
        notesFont.halfPoints = 2 * std::clamp(settings.dispFontSize, 8, 12);
        std::string failure;
        if (!printProjectToPdf(options.printPdf, listing, notepad.IsEmpty() ? nullptr : &notepad.document(),
                               notesFont, failure)) {
            error(failure);
            return kExitUsage;
        }
        return kExitNormal;
    }

    CliRunSession::Setup setup{{},
                               options.durationSeconds,
                               options.checks.timeoutSeconds,
                               options.checks.junitReport,
                               options.checks.jsonReport,
                               identity.projectFilePath(),
                               identity.baseName};
    if (!resolveRunPlan(options.sends, options.checks, lists.sendList(), lists.receiveList(), setup.plan,
                        problem)) {
        error(problem);
        return kExitUsage;
    }
    CliRunSession session(std::move(setup), lists.receiveList());
    for (const std::string& warning : session.plan().warnings) {
        error(warning);
    }
    if (!session.reportFilesWritable(problem)) {
        error(problem);
        return kExitUsage;
    }

    installSignalHandlers();
    RealSystemClock clock;
    SerialDeviceFtdiList ftdiDevices(systemDevices);
    MdTapSupport taps(&ftdiDevices, &userStore);
    QtSerialFunctionLibrary library(portStore.store(), &systemDevices);
    library.setTapResolver(
        [&taps](int tapNumber, std::string& path) { return taps.findTapDevice(tapNumber, path); });
    if (library.libInit() != kSerialLibraryVersion) {
        error("the serial function library has the wrong version");
        return kExitCannotStart;
    }
    LibraryHiresTimeSource timeSource(library);
    PolledTimerService timers(clock);
    QtSocketFactory sockets;
    ClCommChannel channel1(library, &sockets, &clock);
    ClCommChannel channel2(library, &sockets, &clock);

    const bool colours = isatty(STDOUT_FILENO) != 0;
    std::fflush(stdout);
    ConsoleOutput out(STDOUT_FILENO);
    CliConsole console(out, options.view, colours,
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
    router.setSnapshotFullHook([&engine] { engine.requestStop(); });
    // Data lost to forwarding is told on standard error too, also with --quiet.
    engine.receive().setForwardingLossListener([&err](const std::string& message) { err.report(message); });

    engine.setObserver(&session.recorder());

    const auto directionTags = [&engine] { return engine.communication().runState().directionTags; };
    std::unique_ptr<CliSnapshot> snapshot;
    if (options.snapshot) {
        snapshot = std::make_unique<CliSnapshot>(engine, router, lists.receiveList(), messages, console,
                                                 options.view);
        router.setWindow(snapshot.get());
        snapshot->start();
    } else {
        engine.startCommunication();
    }
    if (!engine.communicationRuns()) {
        logging.stopLogging(true);
        session.finish(RunEnd::NotStarted, directionTags(), messages.lastText(), error);
        return kExitCannotStart;
    }
    const auto sendNow = [&](int index) {
        MdCommunicationSend::SendResult result = engine.send().sendSendSequence(index, SendKind::Once);
        if (result != MdCommunicationSend::SendResult::Queued) {
            error(sendFailure(result, lists.sendList()[index].name));
        }
    };
    session.begin();
    for (int index : session.plan().immediateSends) {
        sendNow(index);
    }
    DropNotice dropNotice;
    bool toldClosed = false;
    // Console text that waits or was dropped; the data itself never waits for the console.
    const auto tendConsole = [&](bool end) {
        out.pump();
        const std::string notice = dropNotice.due(out.droppedBytes(), steadyMs(), end);
        if (!notice.empty()) {
            err.output().write(notice);
        }
        if (out.closed() && !toldClosed && !options.quiet) {
            toldClosed = true;
            error("standard output was closed; console text is no longer written");
        }
        err.output().pump();
    };
    // The pass comes right after the idle wait, so that what woke it is answered first.
    RunEnd end = RunEnd::Signal;
    while (gStopSignal == 0) {
        bool idle = engine.communicationPass();
        QCoreApplication::processEvents();
        timers.processDueTimers();
        tendConsole(false);
        if (!engine.communicationRuns()) {
            end = session.recorder().stoppedBy() >= 0 ? RunEnd::Until : RunEnd::Stopped;
            break;
        }
        for (int index : session.dueSends()) {
            sendNow(index);
        }
        if (session.shouldEnd(engine.send().queue().queueEmpty() && channel1.transmitBufferEmpty(), end)) {
            break;
        }
        if (idle) {
            engine.idleWait(session.idleWaitMs(engine.idleWaitMs()));
        }
    }
    engine.stopCommunication();
    engine.output().flush(true);
    if (!options.quiet && console.written() > 0) {
        out.write("\n");
    }
    logging.stopLogging();
    out.drain(kOutputDrainMs);
    int status = session.finish(end, directionTags(), "", error);
    if (snapshot) {
        std::string report;
        const int snapshotStatus = snapshot->finish(report);
        error(report);
        if (status == kExitNormal) {
            status = snapshotStatus;
        }
    }
    tendConsole(true);
    return status;
}

} // namespace corvane::cli
