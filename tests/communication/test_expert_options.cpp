// The expert options in the settings store: written, read back, and malformed values ignored.
#include "communication/ExpertOptions.h"
#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ExpertOptions, StoredAndReadBack) {
    MemorySettingsStore store;
    EXPECT_EQ(readExpertOptions(store), ExpertOptions{});
    writeExpertOptions(store, ExpertOptions{1, 1});
    EXPECT_EQ(readExpertOptions(store), (ExpertOptions{1, 1}));
    store.setValue(kExpertOptionsSection, kDriverModeKey, "7");
    store.setValue(kExpertOptionsSection, kDataForwardingKey, "yes");
    EXPECT_EQ(readExpertOptions(store), ExpertOptions{}) << "malformed values read as the default";
}

} // namespace
} // namespace corvane
