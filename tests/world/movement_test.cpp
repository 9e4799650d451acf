#include "world/game_object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Start {
    std::int32_t type = kindSway;
    float x = 0;
    float speed = 0;
    std::int32_t phase = 0;
    float width = 2.0f;
    float sway = 0;
    bool small = false;
    bool squeezing = false;
    float angle = 0;
};

struct After {
    float x;
    float y;
    float angle;
    std::int32_t phase;
    float width;
    bool squeezing;
};

struct MoveCase {
    std::string name;
    Start start;
    After after;
};

GameObject recordFrom(const Start& start) {
    GameObject object;
    object.type = start.type;
    object.x = start.x;
    object.speed = start.speed;
    object.phase = start.phase;
    object.width = start.width;
    object.height = start.width;
    object.sway = start.sway;
    object.small = start.small;
    object.squeezing = start.squeezing;
    object.angle = start.angle;
    return object;
}

const std::vector<MoveCase> oneStepCases = {
    // sway kind
    {"sway at the wall turns and squeezes",
     {.x = 4.2f, .speed = 0.05f, .phase = 1, .sway = 0.8f},
     {4.16f, -0.05f, 0.5f, 2, 1.97f, true}},
    {"sway still beyond the wall turns again",
     {.x = 4.16f, .speed = 0.05f, .phase = 2, .width = 1.97f, .sway = 0.8f, .squeezing = true},
     {4.2f, -0.05f, -0.5f, 3, 1.94f, true}},
    {"sway starting right moves by sway towards +x",
     {.x = 1.0f, .speed = 0.05f, .sway = -0.8f},
     {0.96f, -0.05f, -0.5f, 1, 2.04f, false}},
    {"sway starting left keeps phase 0",
     {.x = -1.0f, .speed = 0.05f, .width = 2.04f, .sway = -0.8f},
     {-0.96f, -0.05f, 0.5f, 0, 2.04f, false}},
    {"small sway at the left wall turns and squeezes",
     {.x = -4.0f, .speed = 0.02f, .phase = 2, .width = 1.0f, .sway = -0.2f, .small = true},
     {-4.004f, -0.02f, -0.2f, 3, 0.98f, true}},
    {"small sway inside 3.5 to 4.0 does not squeeze",
     {.x = 3.7f, .speed = 0.02f, .phase = 1, .width = 1.0f, .sway = -0.2f, .small = true},
     {3.696f, -0.02f, -0.2f, 1, 1.04f, false}},
    {"big sway from 3.5 on squeezes",
     {.x = 3.5f, .speed = 0.05f, .phase = 1, .width = 2.04f},
     {3.5f, -0.05f, -0.5f, 1, 2.01f, true}},
    {"big squeeze ends at 1.5",
     {.x = 3.0f, .speed = 0.05f, .phase = 1, .width = 1.5f, .squeezing = true},
     {3.0f, -0.05f, -0.5f, 1, 1.5f, false}},
    {"small squeeze ends at 0.5",
     {.speed = 0.02f, .phase = 2, .width = 0.5f, .sway = -0.2f, .small = true, .squeezing = true},
     {0.004f, -0.02f, 0.2f, 2, 0.5f, false}},
    // zigzag kind: sideways at twice its speed
    {"zigzag starting right",
     {.type = kindZigzag, .x = 0.5f, .speed = 0.04f},
     {0.58f, -0.04f, -0.38f, 1, 2.0f, false}},
    {"zigzag starting left",
     {.type = kindZigzag, .x = -0.5f, .speed = 0.04f},
     {-0.58f, -0.04f, 0.42f, 0, 2.0f, false}},
    {"zigzag at the wall turns",
     {.type = kindZigzag, .x = 4.0f, .speed = 0.04f, .phase = 1},
     {3.92f, -0.04f, 0.42f, 2, 2.0f, false}},
    // pulse kind
    {"pulse touches 2.0 and shrinks within the step",
     {.type = kindPulse, .speed = 0.04f, .width = 1.99f},
     {0, -0.04f, 0, 1, 1.99f, false}},
    {"pulse shrinking",
     {.type = kindPulse, .speed = 0.04f, .phase = 1, .width = 1.5f},
     {0, -0.04f, 0, 1, 1.49f, false}},
    {"pulse turns at 1.0",
     {.type = kindPulse, .speed = 0.04f, .phase = 1, .width = 1.005f},
     {0, -0.04f, 0, 0, 0.995f, false}},
    {"pulse growing",
     {.type = kindPulse, .speed = 0.04f, .width = 0.995f},
     {0, -0.04f, 0, 0, 1.005f, false}},
    {"pulse with another phase keeps its size",
     {.type = kindPulse, .speed = 0.04f, .phase = 2, .width = 1.5f},
     {0, -0.04f, 0, 2, 1.5f, false}},
    // spin kind
    {"spin", {.type = kindSpin, .speed = 0.04f, .angle = 10}, {0, -0.04f, 14, 0, 2.0f, false}},
    // tumble kind: falls twice its speed
    {"tumble starting right",
     {.type = kindTumble, .x = 1.0f, .speed = 0.05f},
     {1.1f, -0.10f, -2.4f, 1, 2.0f, false}},
    {"tumble at the left wall turns",
     {.type = kindTumble, .x = -4.1f, .speed = 0.05f},
     {-4.0f, -0.10f, -2.4f, 1, 2.0f, false}},
    // fall kind
    {"fall",
     {.type = kindFall, .x = 1.0f, .speed = 0.03f, .phase = 3, .angle = 7},
     {1.0f, -0.03f, 7, 3, 2.0f, false}},
};

TEST(UpdateByKind, OneStepOfEachKind) {
    for (const MoveCase& moveCase : oneStepCases) {
        SCOPED_TRACE(moveCase.name);
        GameObject object = recordFrom(moveCase.start);
        updateByKind(object);
        EXPECT_NEAR(object.x, moveCase.after.x, 1e-5);
        EXPECT_NEAR(object.y, moveCase.after.y, 1e-6);
        EXPECT_NEAR(object.angle, moveCase.after.angle, 1e-5);
        EXPECT_EQ(object.phase, moveCase.after.phase);
        EXPECT_NEAR(object.width, moveCase.after.width, 1e-5);
        EXPECT_FLOAT_EQ(object.height, object.width);
        EXPECT_EQ(object.squeezing, moveCase.after.squeezing);
    }
}

TEST(UpdateByKind, PulseCycleTurnsAtItsLimits) {
    GameObject object = recordFrom({.type = kindPulse, .speed = 0.01f, .width = 1.99f});
    updateByKind(object);
    EXPECT_FLOAT_EQ(object.width, 1.99f);
    ASSERT_EQ(object.phase, 1);

    int steps = 1;
    float before = object.width;
    while (object.phase == 1 && steps < 200) {
        updateByKind(object);
        ++steps;
        EXPECT_NEAR(before - object.width, 0.01f, 1e-5);
        before = object.width;
    }
    ASSERT_EQ(object.phase, 0);
    EXPECT_LE(object.width, 1.0f);
    EXPECT_GT(object.width, 0.98f);
    EXPECT_GT(steps, 90);

    updateByKind(object);
    EXPECT_NEAR(object.width - before, 0.01f, 1e-5);
    EXPECT_EQ(object.phase, 0);
}

// Away from the walls a cell's size settles at the first value beyond its limit, and a squeeze
// ends at the first value at or below its floor.
struct SizeCase {
    std::string name;
    bool small;
    bool squeezing;
    float startWidth;
    float bound;
    float step;
};

const std::vector<SizeCase> sizeCases = {
    {"big grows past 2.0", false, false, 1.0f, 2.0f, 0.04f},
    {"small grows past 1.0", true, false, 0.5f, 1.0f, 0.04f},
    {"big squeezes down to 1.5", false, true, 2.04f, 1.5f, 0.03f},
    {"small squeezes down to 0.5", true, true, 1.04f, 0.5f, 0.02f},
};

TEST(UpdateByKind, SwaySizeLimits) {
    for (const SizeCase& sizeCase : sizeCases) {
        SCOPED_TRACE(sizeCase.name);
        GameObject object = recordFrom({.speed = 0.01f,
                                        .width = sizeCase.startWidth,
                                        .small = sizeCase.small,
                                        .squeezing = sizeCase.squeezing});
        int steps = 0;
        float previous = object.width;
        while (steps < 200) {
            updateByKind(object);
            ++steps;
            if (object.width == previous || object.squeezing != sizeCase.squeezing) {
                break;
            }
            previous = object.width;
        }
        if (sizeCase.squeezing) {
            EXPECT_FALSE(object.squeezing);
            EXPECT_LE(object.width, sizeCase.bound);
            EXPECT_GT(object.width, sizeCase.bound - sizeCase.step - 1e-5f);
        } else {
            EXPECT_GT(object.width, sizeCase.bound);
            EXPECT_LE(object.width, sizeCase.bound + sizeCase.step + 1e-5f);
            updateByKind(object);
            EXPECT_EQ(object.width, previous) << "settled size grows no more";
        }
        EXPECT_LT(steps, 200);
    }
}

void expectSameRecord(const GameObject& a, const GameObject& b) {
    EXPECT_EQ(a.texture, b.texture);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.angle, b.angle);
    EXPECT_EQ(a.z, b.z);
    EXPECT_EQ(a.visible, b.visible);
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.speed, b.speed);
    EXPECT_EQ(a.phase, b.phase);
    EXPECT_EQ(a.health, b.health);
    EXPECT_EQ(a.sway, b.sway);
    EXPECT_EQ(a.small, b.small);
    EXPECT_EQ(a.squeezing, b.squeezing);
    EXPECT_EQ(a.velocityX, b.velocityX);
    EXPECT_EQ(a.velocityY, b.velocityY);
    EXPECT_EQ(a.revived, b.revived);
    EXPECT_EQ(a.score, b.score);
    EXPECT_EQ(a.level, b.level);
    EXPECT_EQ(a.pickupKind, b.pickupKind);
    EXPECT_EQ(a.oilCount, b.oilCount);
    EXPECT_EQ(a.syringeCount, b.syringeCount);
}

TEST(UpdateByKind, KindsWithoutAStepLeaveTheRecordAlone) {
    for (std::int32_t type : {0, kindScroll, 7, kindStill, kindPlayer, 11, kindMenu, -1}) {
        SCOPED_TRACE(type);
        GameObject object = recordFrom({.type = type,
                                        .x = 4.5f,
                                        .speed = 0.05f,
                                        .width = 1.0f,
                                        .sway = -0.8f,
                                        .squeezing = true,
                                        .angle = 3});
        object.y = 1.0f;
        const GameObject before = object;
        updateByKind(object);
        expectSameRecord(object, before);
    }
}

} // namespace
