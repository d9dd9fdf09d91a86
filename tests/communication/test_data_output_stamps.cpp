#include "communication/TimeStampText.h"
#include "platform/ShortDateFormat.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(ShortDateFormat, Patterns) {
    EXPECT_EQ(ShortDateFormat().format(2026, 3, 7), "07/03/2026");
    EXPECT_EQ(ShortDateFormat("d.M.yy").format(2026, 3, 7), "7.3.26");
    EXPECT_EQ(ShortDateFormat("M/d/yyyy").format(2009, 11, 30), "11/30/2009");
    EXPECT_EQ(ShortDateFormat("yyyy'年'MM'月'dd'日'").format(2026, 1, 2), "2026年01月02日");
    EXPECT_EQ(ShortDateFormat("dd''MM").format(2026, 1, 2), "02'01");
    EXPECT_EQ(ShortDateFormat("ddd dd 'open").format(2026, 1, 2), "ddd 02 open")
        << "unknown runs and an open quote";
    EXPECT_EQ(ShortDateFormat("").format(2026, 1, 2), "");
}

TEST(TimeStampText, PartsAndClamping) {
    const ShortDateFormat format("dd.MM.yyyy");
    HiresTime time{2026, 12, 0, 31, 23, 59, 59, 999};
    EXPECT_EQ(timeStampText({true, true, true, false}, format, time), "31.12.2026 23:59:59.999 ");
    EXPECT_EQ(timeStampText({true, true, true, true}, format, time), "31.12.2026 23:59:59.99 ");
    EXPECT_EQ(timeStampText({false, true, false, true}, format, time), "23:59:59 ");
    EXPECT_EQ(timeStampText({false, false, true, false}, format, time), "");
    time.millisecond = 5;
    EXPECT_EQ(timeStampText({false, true, true, true}, format, time), "23:59:59.00 ");
    time.hour = 99;
    time.millisecond = 2000;
    EXPECT_EQ(timeStampText({false, true, true, false}, format, time), "23:59:59.999 ");
    EXPECT_EQ(timeOfDayMs(HiresTime{2026, 1, 0, 1, 1, 2, 3, 4}), 3723004);
}

TEST(TimeStampText, MidnightWrap) {
    EXPECT_EQ(elapsedMsWithMidnightWrap(200, 86399500), 700);
    EXPECT_EQ(elapsedMsWithMidnightWrap(5000, 4000), 1000);
    EXPECT_EQ(elapsedMsWithMidnightWrap(4000, 5000), -1000) << "up to a second back is jitter, not midnight";
    EXPECT_EQ(elapsedMsWithMidnightWrap(4000, 5001), 86398999);
    EXPECT_EQ(elapsedMsWithMidnightWrap(0, -86400000), 86400000) << "the start value is always far back";
}
