#pragma once

#include "communication/CommunicationHooks.h"
#include "communication/DataOutput.h"
#include "communication/MdCommunication.h"
#include "communication/MdCommunicationReceive.h"
#include "communication/MdCommunicationSend.h"
#include "communication/SnapshotControl.h"
#include "sequences/modSequenceManagement.h"

namespace corvane {

// The communication engine as the main loop drives it: the start and stop of communication, the
// data output, the receive and send processing, wired together. It answers the start and stop
// steps that belong to the engine (data output reset, sequence list preparation, send queue,
// line break detector) and passes the others on to the program's shell (wait cursor, find dialog,
// status, snapshot mode), which may be absent in a program without a window.
class CommunicationEngine : private CommunicationHooks, private SnapshotControl {
public:
    CommunicationEngine(SerialFunctionLibrary& library, ClCommChannel& channel1, ClCommChannel& channel2,
                        CommunicationSettings& settings, ExpertOptions& expertOptions,
                        SendSequenceList& sendList, ReceiveSequenceList& receiveList,
                        MessageService& messages, SystemClock& clock, CommPieceConsumer& consumer,
                        HiresTimeSource& timeSource, CommunicationHooks* shell = nullptr);
    CommunicationEngine(const CommunicationEngine&) = delete;
    CommunicationEngine& operator=(const CommunicationEngine&) = delete;

    MdCommunication& communication() { return communication_; }
    DataOutput& output() { return output_; }
    MdCommunicationSend& send() { return send_; }
    MdCommunicationReceive& receive() { return receive_; }

    void setShell(CommunicationHooks* shell) { shell_ = shell; }
    // The snapshot mode of the program with a window; none means snapshot mode is never on.
    void setSnapshotControl(SnapshotControl* snapshot) { snapshot_ = snapshot; }
    // Someone who watches the run from outside the display (the headless runner); none by default.
    void setObserver(CommunicationObserver* observer) {
        receive_.setObserver(observer);
        send_.setObserver(observer);
    }

    void startCommunication() { communication_.startCommunication(); }
    void stopCommunication() { communication_.stopCommunication(); }
    bool communicationRuns() const { return !communication_.communicationStopped(); }
    // Stops communication from inside the data output (a complete snapshot): the receive
    // processing handles no character after the request, and communication stops at the end of
    // the current pass, or at the start of the next one when the request came between passes.
    void requestStop();

    // The communication work of one main loop pass: receive processing, send queue processing,
    // periodic sending and the channel error check. True when the pass found nothing to receive
    // (or communication doesn't run), so the loop may wait.
    bool communicationPass();
    // The idle wait of the main loop: at most timeoutMs, over as soon as a packet arrives (a
    // plain wait while a packet waits to be forwarded).
    void idleWait(int timeoutMs);
    // How long the main loop may wait when a pass found nothing: 1 ms while the send side has
    // timed work (queued entries, waits, periodic sequences) or a packet waits to be forwarded,
    // else 10 ms. Arriving data ends either wait at once, so answers are not delayed; the longer
    // wait keeps an idle line from costing a thousand passes a second.
    int idleWaitMs() const;
    static constexpr int kBusyIdleWaitMs = 1;
    static constexpr int kQuietIdleWaitMs = 10;

private:
    // CommunicationHooks.
    void showWaitCursor(bool wait) override;
    void closeFindDialog() override;
    void resetDataOutputBuffers() override;
    void prepareSequenceLists() override;
    void resetSendQueue() override;
    void resetLineBreakDetector() override;
    void expertOptionsChanged() override;
    void refreshMainWindowStatus() override;
    void communicationStopping() override;
    void endSnapshotMode() override;
    void resetRepeatSend() override;
    bool isShuttingDown() const override;

    // SnapshotControl.
    bool snapshotModeOn() const override;
    void triggerSnapshot() override;

    SerialFunctionLibrary& library_;
    SendSequenceList& sendList_;
    CommunicationHooks* shell_;
    SnapshotControl* snapshot_ = nullptr;
    MdCommunication communication_;
    DataOutput output_;
    MdCommunicationSend send_;
    MdCommunicationReceive receive_;
    bool stopRequest_ = false;
};

} // namespace corvane
