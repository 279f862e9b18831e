#include <gtest/gtest.h>

#include "controls/IconButtonLook.h"

using namespace iconbutton;

TEST(IconButtonLook, FrameIconAndOffsetFollowTheState)
{
    struct Row {
        State state;
        bool hasOut;
        Look look;
    };
    const Row rows[] = {
        {{false, false, false}, false, {Frame::None, false, 0, false}},
        {{false, false, false}, true, {Frame::None, true, 0, false}},
        {{true, false, false}, true, {Frame::Raised, false, 0, false}},
        {{true, true, false}, true, {Frame::Sunken, false, 1, false}},
        {{false, true, false}, true, {Frame::Sunken, false, 1, false}}, // pressed, pointer gone
        {{false, false, true}, false, {Frame::None, false, 0, true}},
        {{true, false, true}, true, {Frame::None, true, 0, true}}, // disabled raises nothing
    };
    for (const Row& row : rows) {
        const Look look = lookFor(row.state, row.hasOut);
        EXPECT_EQ(look, row.look) << row.state.hover << row.state.pressed << row.state.disabled
                                  << row.hasOut;
    }
    EXPECT_EQ(iconPlace(40, 40, 32, 32, {}), (Place{4, 4}));
    EXPECT_EQ(iconPlace(40, 40, 32, 32, lookFor({true, true, false}, false)), (Place{5, 5}));
    EXPECT_EQ(iconPlace(41, 30, 32, 16, {}), (Place{4, 7}));
}
