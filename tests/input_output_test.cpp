#include <gtest/gtest.h>

#include "test_support.h"

static void expectPin(Node* pin, int x, int y) {
    EXPECT_EQ(pin->x, x);
    EXPECT_EQ(pin->y, y);
}

TEST(input_button, body_hit_test_leaves_out_the_inner_half_of_its_pin) {
    Input button(600, 600, false);
    expectPin(button.getOutputNode(), 656, 624);
    const struct {
        int x, y;
        bool inBody;
    } rows[] = {{600, 600, true},  {664, 664, true},  {655, 630, true},
                {660, 623, true},  {660, 641, true},  {660, 630, false},
                {664, 624, false}, {665, 630, false}, {599, 630, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(button.isInArea(row.x, row.y), row.inBody) << row.x << ", " << row.y;
    }
    // Off the body but on the pin: a click here selects the pin instead.
    EXPECT_FALSE(button.isInArea(670, 630));
    EXPECT_TRUE(button.getOutputNode()->isInArea(670, 630));
}

TEST(terminals, move_shifts_the_body_at_once_and_the_pin_at_the_next_draw) {
    Input button(600, 600, false);
    Output lamp(700, 700, false, ledColor);
    expectPin(lamp.getInputNode(), 692, 724);
    button.addXY(100, 0);
    lamp.addXY(0, -100);
    EXPECT_EQ(button.getX(), 700);
    EXPECT_TRUE(button.isInArea(750, 630));
    expectPin(button.getOutputNode(), 656, 624);
    expectPin(lamp.getInputNode(), 692, 724);
    testing_support::SoftwareCanvas canvas;
    button.render(canvas.renderer, 74, 141, 247);
    lamp.render(canvas.renderer, 74, 141, 247);
    expectPin(button.getOutputNode(), 756, 624);
    expectPin(lamp.getInputNode(), 692, 624);
}

TEST(color_rgb, float_channels_are_the_channel_over_255) {
    core::ColorRGB color(194, 255, 0);
    EXPECT_NEAR(color.floatR(), 0.7608, 1e-4);
    EXPECT_EQ(color.floatG(), 1.0f);
    EXPECT_EQ(color.floatB(), 0.0f);
}
