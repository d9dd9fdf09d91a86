#pragma once

#include "app/control/ProjectSettingsForm.h"
#include "app/control/SerialPortDirectory.h"
#include "communication/MdTapSupport.h"
#include "platform/SettingsStore.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeSerialDeviceEnumerator.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace corvane::test {

// A port map of fixed entries.
class FixedPortDirectory : public SerialPortDirectory {
public:
    std::vector<SerialPortEntry> listSerialPorts() override { return entries; }
    std::vector<SerialPortEntry> entries;
};

// The project settings dialog as its widget sees it: what it was last shown, the tabs and fields
// it was sent to.
class RecordingProjectSettingsView : public ProjectSettingsView {
public:
    void showScreen(const ProjectSettingsScreen& shown) override {
        screen = shown;
        ++screens;
    }
    void showTab(ProjectSettingsTab shown) override { tabs.push_back(shown); }
    void focusField(ProjectSettingsField field) override { focused.push_back(field); }

    ProjectSettingsScreen screen;
    int screens = 0;
    std::vector<ProjectSettingsTab> tabs;
    std::vector<ProjectSettingsField> focused;
};

// The dialog's logic over the fake serial library, a port map with COM1, COM3 (missing), COM5 and
// COM256, and one complete USB monitoring tap.
class ProjectSettingsTest : public ::testing::Test {
protected:
    ProjectSettingsTest() {
        ports.entries = {{1, "COM1  (/dev/ttyS0)"},
                         {3, "COM3  (/dev/ttyUSB0, FT232R USB UART)"},
                         {5, "COM5  (/dev/ttyACM0, Pico)"},
                         {256, "COM256  (loopback)"}};
        // COM3's device is unplugged: the list leaves it out.
        library.missingPorts.insert(2);
        ftdi.devices = {{"Dual RS232 A", "T1A", "/dev/ttyUSB1"}, {"Dual RS232 B", "T1B", "/dev/ttyUSB2"}};
    }

    // Opens the dialog's logic on the settings.
    ProjectSettingsForm& open() {
        form = std::make_unique<ProjectSettingsForm>(
            ProjectSettingsForm::Services{messages, library, ports, &taps}, settings);
        form->setView(&view);
        form->open();
        return *form;
    }
    std::vector<std::string> names(const std::vector<ChannelListEntry>& list) const {
        std::vector<std::string> result;
        for (const auto& entry : list) {
            result.push_back(entry.name);
        }
        return result;
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& request : messages.shown) {
            texts.push_back(request.text);
        }
        return texts;
    }
    const ProjectSettingsScreen& screen() const { return form->screen(); }

    CommunicationSettings settings;
    FakeMessageService messages;
    FakeSerialFunctionLibrary library;
    FixedPortDirectory ports;
    FakeFtdiDeviceList ftdi;
    MemorySettingsStore store;
    MdTapSupport taps{&ftdi, &store};
    RecordingProjectSettingsView view;
    std::unique_ptr<ProjectSettingsForm> form;
};

} // namespace corvane::test
