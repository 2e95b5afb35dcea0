// The option a Nunchuk state selects: rows in order, with their bounds.
#include "NunchukLogger.h"

#include <gtest/gtest.h>

#include <string>

TEST(NunchukOption, FirstMatchingRowWinsAndBoundsFollowTheTable)
{
    struct Case
    {
        float x, y;
        bool c, z;
        int number;
        const char* name;
    };
    const Case cases[] = {
        {0.0f, 0.9f, false, false, 8, "resize smaller"},
        {0.0f, 0.8f, false, false, 0, "create"}, // y > 0.8 is strict
        {0.39f, -0.9f, false, false, 7, "resize bigger"},
        {0.4f, -0.9f, false, false, 0, "create"}, // x < 0.4 is strict
        {0.5f, -0.6f, false, false, 5, "repell outwards"},
        {0.5f, -0.4f, false, false, 4, "move follow"}, // -0.4 <= y <= 0.4
        {0.5f, 0.4f, false, false, 4, "move follow"},
        {0.5f, 0.6f, false, false, 6, "attract inwards"},
        {0.5f, 0.8f, false, false, 0, "create"},
        {0.5f, 0.0f, false, true, 0, "create"}, // any button leaves the right side
        {-0.5f, -0.6f, false, true, 0, "create"}, // z on the left comes before the orient rows
        {-0.5f, 0.9f, false, true, 0, "create"},
        {-0.5f, -0.6f, false, false, 2, "orient circular"},
        {-0.5f, -0.4f, false, false, 1, "orient follow"},
        {-0.5f, 0.4f, false, false, 1, "orient follow"},
        {-0.5f, 0.6f, false, false, 3, "orient in a star shape"},
        {-0.5f, 0.6f, true, false, 0, "create"},
        {-0.4f, 0.0f, false, false, 0, "create"}, // x < -0.4 is strict
        {-0.5f, 0.0f, true, true, 0, "erase"},
        {0.0f, 0.9f, true, true, 0, "erase"},
        {0.0f, 0.0f, false, false, 0, "create"},
    };
    for (const Case& k : cases) {
        NunchukCommunicationData data;
        data.joystickX = k.x;
        data.joystickY = k.y;
        data.c = k.c;
        data.z = k.z;
        const NunchukLogger::SelectedOption option = NunchukLogger::selectedOption(data);
        EXPECT_EQ(option.number, k.number) << k.x << ", " << k.y << ", c " << k.c << ", z " << k.z;
        EXPECT_EQ(std::string(option.name), k.name) << k.x << ", " << k.y << ", c " << k.c << ", z " << k.z;
    }
}
