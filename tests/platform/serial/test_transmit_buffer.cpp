// The bytes that wait for a port: written at once when nothing waits, the rest in order.
#include "platform/serial/TransmitBuffer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace corvane {
namespace {

// A port that takes at most `room` bytes until told otherwise, or fails with `error`.
struct FakePort {
    std::vector<std::uint8_t> line;
    std::size_t room = 0;
    int error = 0;
    int writes = 0;

    long operator()(const std::uint8_t* data, std::size_t count) {
        ++writes;
        if (error != 0) {
            errno = error;
            return -1;
        }
        if (room == 0) {
            errno = EAGAIN;
            return -1;
        }
        std::size_t taken = std::min(room, count);
        line.insert(line.end(), data, data + taken);
        room -= taken;
        return static_cast<long>(taken);
    }
};

std::vector<std::uint8_t> bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> result;
    for (int value : values) {
        result.push_back(static_cast<std::uint8_t>(value));
    }
    return result;
}

TEST(TransmitBuffer, WritesAtOnceWhenNothingWaits) {
    TransmitBuffer buffer(100);
    FakePort port;
    port.room = 1000;
    auto data = bytes({1, 2, 3});
    EXPECT_EQ(buffer.offer(data.data(), data.size(), port), TransmitBuffer::Offer::Taken);
    EXPECT_EQ(port.line, data);
    EXPECT_TRUE(buffer.empty());
}

TEST(TransmitBuffer, WhatThePortDoesNotTakeWaitsAndLaterDataQueuesBehindIt) {
    TransmitBuffer buffer(100);
    FakePort port;
    port.room = 2;
    auto first = bytes({1, 2, 3, 4});
    auto second = bytes({5, 6});
    EXPECT_EQ(buffer.offer(first.data(), first.size(), port), TransmitBuffer::Offer::Taken);
    EXPECT_EQ(port.line, bytes({1, 2}));
    EXPECT_EQ(buffer.waiting(), 2u);

    // The port has room again, but bytes wait: the new ones must not pass them.
    port.room = 100;
    const int writesBefore = port.writes;
    EXPECT_EQ(buffer.offer(second.data(), second.size(), port), TransmitBuffer::Offer::Taken);
    EXPECT_EQ(port.writes, writesBefore) << "nothing is written past waiting bytes";
    EXPECT_EQ(buffer.waiting(), 4u);

    port.room = 1;
    EXPECT_TRUE(buffer.drain(port));
    EXPECT_EQ(buffer.waiting(), 3u);
    port.room = 100;
    EXPECT_TRUE(buffer.drain(port));
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(port.line, bytes({1, 2, 3, 4, 5, 6}));
}

TEST(TransmitBuffer, RefusesWhatWouldPassTheLimitAndTakesNothingOfIt) {
    TransmitBuffer buffer(5);
    FakePort port; // takes nothing
    auto four = bytes({1, 2, 3, 4});
    auto two = bytes({5, 6});
    EXPECT_EQ(buffer.offer(four.data(), four.size(), port), TransmitBuffer::Offer::Taken);
    EXPECT_EQ(buffer.offer(two.data(), two.size(), port), TransmitBuffer::Offer::Full);
    EXPECT_EQ(buffer.waiting(), 4u);
    auto one = bytes({7});
    EXPECT_EQ(buffer.offer(one.data(), one.size(), port), TransmitBuffer::Offer::Taken);
    port.room = 100;
    EXPECT_TRUE(buffer.drain(port));
    EXPECT_EQ(port.line, bytes({1, 2, 3, 4, 7}));
}

TEST(TransmitBuffer, AFailedWriteIsReportedWithItsError) {
    TransmitBuffer buffer(100);
    FakePort port;
    port.error = EIO;
    auto data = bytes({1});
    EXPECT_EQ(buffer.offer(data.data(), data.size(), port), TransmitBuffer::Offer::Failed);
    EXPECT_EQ(buffer.error(), EIO);
    EXPECT_TRUE(buffer.empty());

    port.error = 0;
    port.room = 0;
    buffer.offer(data.data(), data.size(), port);
    port.error = EIO;
    EXPECT_FALSE(buffer.drain(port));
    EXPECT_EQ(buffer.waiting(), 1u);

    // An interrupted write is not a failure.
    port.error = EINTR;
    EXPECT_TRUE(buffer.drain(port));
}

TEST(TransmitBuffer, ManySmallOffersAgainstASlowPortKeepEveryByteInOrder) {
    TransmitBuffer buffer(1 << 20);
    FakePort port;
    std::vector<std::uint8_t> sent;
    for (int block = 0; block < 2000; ++block) {
        std::vector<std::uint8_t> data(37);
        for (std::size_t i = 0; i < data.size(); ++i) {
            data[i] = static_cast<std::uint8_t>(block * 37 + static_cast<int>(i));
        }
        sent.insert(sent.end(), data.begin(), data.end());
        port.room = block % 3 == 0 ? 50 : 0;
        ASSERT_EQ(buffer.offer(data.data(), data.size(), port), TransmitBuffer::Offer::Taken);
        port.room = static_cast<std::size_t>(block % 7) * 5;
        ASSERT_TRUE(buffer.drain(port));
    }
    port.room = SIZE_MAX;
    ASSERT_TRUE(buffer.drain(port));
    EXPECT_EQ(port.line, sent);
}

} // namespace
} // namespace corvane
