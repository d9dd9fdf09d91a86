#pragma once

#include "platform/SerialFunctionLibrary.h"
#include "platform/serial/HiresClock.h"
#include "platform/serial/ReceiveQueue.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace corvane {

// A serial function library in memory: ports open and close as told, transmitted words are
// recorded, results of the operations can be scripted, and the receive queue is real.
class FakeSerialFunctionLibrary : public SerialFunctionLibrary {
public:
    struct OpenCall {
        int port, baudRate, parity, stopBits, dataBits, parityErrorChar, flowControl;
    };
    struct QueueingCall {
        int port, queueId, watch, mode;
    };
    struct Transmission {
        int port, queueId;
        std::vector<std::int16_t> words;
    };

    // Scripted behaviour.
    std::set<int> missingPorts;     // SioResetExt gives -1 ("Invalid COM port name")
    std::map<int, int> openResults; // port -> forced result of SioResetExt
    int queueingResult = 0;
    int txWriteResult = 1; // > 0 taken; 0 full; < 0 error
    int txQueueStatus = 0;
    int portTxBytes = 0;
    int winErrorNumber = 0;
    std::string winErrorText;
    // What libErrorDetail answers.
    std::string errorDetail;
    int ftdiResult = 0;
    int proResult = 0;
    int closeResult = 0;
    std::map<int, int> lines;           // 'C','D','R','I' -> value of SioCTS/DSR/DCD/RI
    std::vector<std::uint8_t> pollData; // what SioGets hands out

    // What happened.
    std::set<int> openPorts;
    std::vector<OpenCall> opens;
    std::vector<int> closes;
    std::vector<QueueingCall> queueings;
    std::vector<Transmission> transmissions;
    std::vector<std::string> lineCalls; // "RTS 0 S", "DTR 0 C", "BRK 0 A", "PARMS 0 2"
    std::vector<std::vector<int>> ftdiCalls;
    std::vector<std::vector<int>> proCalls;
    std::vector<int> ftdiCloses;
    int proCloses = 0;
    int hiresInits = 0;
    int rxErases = 0;
    std::vector<std::string> events; // every call in order, by name
    std::set<int> heldQueueIds;      // queue ids whose reading is held back (libRXQueueHold)

    explicit FakeSerialFunctionLibrary(std::size_t queueCapacityWords = ReceiveQueue::kDefaultCapacityWords)
        : queue(queueCapacityWords) {}

    ReceiveQueue queue;
    HiresClock clock;

    int libInit() override { return kSerialLibraryVersion; }
    int libInitHiresTime(int) override {
        ++hiresInits;
        events.push_back("libInitHiresTime");
        clock.start();
        return 1;
    }
    int libGetHiresTime(HiresTime& time) override {
        time = clock.now();
        return 1;
    }
    int SioResetExt(int port, int, int, int baud, int parity, int stop, int data, int perr,
                    int flow) override {
        events.push_back("SioResetExt " + std::to_string(port));
        opens.push_back({port, baud, parity, stop, data, perr, flow});
        if (missingPorts.count(port) > 0) {
            return kSioBadPort;
        }
        auto forced = openResults.find(port);
        if (forced != openResults.end() && forced->second < 0) {
            return forced->second;
        }
        if (openPorts.count(port) > 0) {
            return kSioAlreadyOpen;
        }
        openPorts.insert(port);
        return 0;
    }
    int SioParmsExt(int port, int parity, int, int, int, int) override {
        lineCalls.push_back("PARMS " + std::to_string(port) + " " + std::to_string(parity));
        return 0;
    }
    int SioDone(int port) override {
        events.push_back("SioDone " + std::to_string(port));
        closes.push_back(port);
        return openPorts.erase(port) > 0 ? 0 : kSioBadPort;
    }
    int libInitQueueing(int port, int queueId, int watch, int mode) override {
        queueings.push_back({port, queueId, watch, mode});
        return queueingResult;
    }
    int SioRxQue(int port) override {
        return openPorts.count(port) ? static_cast<int>(pollData.size()) : kSioBadPort;
    }
    int SioGets(int port, std::uint8_t* buffer, int count) override {
        if (!openPorts.count(port)) {
            return kSioBadPort;
        }
        int n = std::min<int>(count, static_cast<int>(pollData.size()));
        std::copy(pollData.begin(), pollData.begin() + n, buffer);
        pollData.erase(pollData.begin(), pollData.begin() + n);
        return n;
    }
    int line(int key) const {
        auto it = lines.find(key);
        return it == lines.end() ? 0 : it->second;
    }
    int SioCTS(int) override { return line('C'); }
    int SioDSR(int) override { return line('D'); }
    int SioDCD(int) override { return line('R'); }
    int SioRI(int) override { return line('I'); }
    int SioRTS(int port, char command) override {
        lineCalls.push_back("RTS " + std::to_string(port) + " " + command);
        return 0;
    }
    int SioDTR(int port, char command) override {
        lineCalls.push_back("DTR " + std::to_string(port) + " " + command);
        return 0;
    }
    int SioBrkSig(int port, char command) override {
        lineCalls.push_back("BRK " + std::to_string(port) + " " + command);
        return 0;
    }
    std::string libErrorDetail() override { return errorDetail; }
    int SioWinError(std::string& text) override {
        text = winErrorText;
        return winErrorNumber;
    }
    int libTXQueueWrite(int port, const std::int16_t* words, int count, int queueId) override {
        if (txWriteResult > 0) {
            transmissions.push_back({port, queueId, std::vector<std::int16_t>(words, words + count)});
            return count;
        }
        return txWriteResult;
    }
    int libTXQueueStatus(int) override { return txQueueStatus; }
    int libPortTXBytes(int) override {
        events.push_back("libPortTXBytes");
        return portTxBytes;
    }
    int libRXQueueRead(std::int16_t* buffer) override { return queue.read(buffer); }
    int libRXQueueStatus() override { return queue.status(); }
    int libRXQueueErase() override {
        ++rxErases;
        events.push_back("libRXQueueErase");
        queue.erase();
        return 0;
    }
    int libRXQueueWriteBytes(const std::uint8_t* bytes, int count, int queueId) override {
        queue.pushBytes(queueId, clock.now(), 0, bytes, static_cast<std::size_t>(count));
        return count;
    }
    int libRXQueueHold(int queueId, int hold) override {
        events.push_back("libRXQueueHold " + std::to_string(queueId) + " " + std::to_string(hold));
        if (hold != 0) {
            heldQueueIds.insert(queueId);
        } else {
            heldQueueIds.erase(queueId);
        }
        return 0;
    }
    int libRXQueueAdmissible(int queueId, int wanted) override {
        if (heldQueueIds.count(queueId) > 0 || wanted <= 0) {
            return 0;
        }
        return static_cast<int>(queue.admissibleBytes(static_cast<std::size_t>(wanted)));
    }
    int libInitFTDIMonitor(int tap, int queueId, int mode, int baud, int parity, int stop, int data,
                           int perr) override {
        ftdiCalls.push_back({tap, queueId, mode, baud, parity, stop, data, perr});
        return ftdiResult;
    }
    int libInitProMonitor(int device, int a, int b, int mode, int baud, int parity, int stop, int data,
                          int perr, int level) override {
        proCalls.push_back({device, a, b, mode, baud, parity, stop, data, perr, level});
        return proResult;
    }
    int libCloseFTDIMonitor(int queueId) override {
        ftdiCloses.push_back(queueId);
        return closeResult;
    }
    int libCloseProMonitor() override {
        ++proCloses;
        return closeResult;
    }
    bool libPortAvailable(int port) override {
        return port >= 0 && port < kMaxComNumber && !missingPorts.count(port);
    }
    bool libWaitForPacket(int timeoutMs) override { return queue.waitForPacket(timeoutMs); }
};

} // namespace corvane
