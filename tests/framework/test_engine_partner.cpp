// PartnerThread: each run ends both halves before it returns, the second on
// the partner when the machine has two cores, run after run.
#include "PartnerThread.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

TEST(PartnerThread, EachRunEndsBothHalvesBeforeItReturns)
{
    PartnerThread partner;
    const std::thread::id caller = std::this_thread::get_id();
    int written[2] = {-1, -1};
    std::thread::id ranOn[2];
    // Many runs back to back and a few after a pause long enough for the
    // partner to stop spinning and sleep: no hand-over may be lost (a lost
    // one hangs) and each half's writes are seen when run() returns.
    for (int round = 0; round < 3000; ++round) {
        if (round % 1000 == 999)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        partner.run([&](int part) {
            written[part] = round;
            ranOn[part] = std::this_thread::get_id();
        });
        ASSERT_EQ(written[0], round);
        ASSERT_EQ(written[1], round);
    }
    EXPECT_EQ(ranOn[0], caller);
    if (partner.isSplit())
        EXPECT_NE(ranOn[1], caller);
    else
        EXPECT_EQ(ranOn[1], caller);
}

TEST(PartnerThread, AThrowingFirstPartStillAwaitsTheSecond)
{
    PartnerThread partner;
    bool secondEnded = false;
    const auto firstThrows = [&](int part) {
        if (part == 0)
            throw std::runtime_error("first part");
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        secondEnded = true;
    };
    EXPECT_THROW(partner.run(firstThrows), std::runtime_error);
    // Without a partner the parts run in turn, and the throw ends the run.
    EXPECT_EQ(secondEnded, partner.isSplit());
    // The partner is free for the next run.
    int runs = 0;
    partner.run([&](int part) {
        if (part == 1)
            ++runs;
    });
    EXPECT_EQ(runs, 1);
}
