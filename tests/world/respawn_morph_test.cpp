#include "world/game_object.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr TextureId revivedLook = 77;
constexpr TextureId deadLook = 12;

TEST(RespawnAtTop, PutsTheRecordInOneOfSevenColumnsAboveTheTop) {
    std::srand(4321);
    std::vector<int> draws;
    for (int i = 0; i < 300; ++i) {
        draws.push_back(std::rand() % 7);
    }
    std::srand(4321);
    std::set<float> columns;
    for (int draw : draws) {
        GameObject object;
        object.type = kindSway;
        object.y = -5.5f;
        respawnAtTop(object, revivedLook);
        EXPECT_EQ(object.y, 5.0f);
        EXPECT_EQ(object.x, static_cast<float>(draw) - 3.25f);
        columns.insert(object.x);
    }
    EXPECT_EQ(columns, (std::set<float>{-3.25f, -2.25f, -1.25f, -0.25f, 0.75f, 1.75f, 2.75f}));
}

TEST(RespawnAtTop, PulseKindAlwaysReturnsToTheMiddleWithoutDrawing) {
    std::srand(99);
    const int firstDraw = std::rand();
    std::srand(99);
    for (int i = 0; i < 20; ++i) {
        GameObject object;
        object.type = kindPulse;
        object.x = 3.0f;
        respawnAtTop(object, revivedLook);
        EXPECT_EQ(object.x, 0.0f);
        EXPECT_EQ(object.y, 5.0f);
    }
    EXPECT_EQ(std::rand(), firstDraw);
}

struct RevivedCase {
    std::string name;
    std::int32_t type;
    bool revived;
    TextureId texture;
    bool revivedAfter;
};

TEST(RespawnAtTop, OnlyARevivedSwayRecordTakesTheRevivedLookAndOnlyOnce) {
    const std::vector<RevivedCase> cases = {
        {"revived cell", kindSway, true, revivedLook, false},
        {"plain cell", kindSway, false, deadLook, false},
        {"revived pick-up keeps its flag", kindZigzag, true, deadLook, true},
        {"revived bubble keeps its flag", kindFall, true, deadLook, true},
    };
    for (const RevivedCase& revivedCase : cases) {
        SCOPED_TRACE(revivedCase.name);
        GameObject object;
        object.type = revivedCase.type;
        object.texture = deadLook;
        object.revived = revivedCase.revived;
        respawnAtTop(object, revivedLook);
        EXPECT_EQ(object.texture, revivedCase.texture);
        EXPECT_EQ(object.revived, revivedCase.revivedAfter);
    }

    GameObject cell;
    cell.texture = deadLook;
    cell.revived = true;
    respawnAtTop(cell, revivedLook);
    cell.texture = deadLook; // died again, without the revived mark this time
    respawnAtTop(cell, revivedLook);
    EXPECT_EQ(cell.texture, deadLook);
}

// Every field of the record: whether it stays with the object's state through morphInto, or
// comes from the look.
struct FieldRow {
    std::string name;
    std::function<double(const GameObject&)> read;
    bool isState;
};

const std::vector<FieldRow> fieldRows = {
    {"sound buffer", [](const GameObject& o) { return o.sounds[3].buffer; }, false},
    {"sound source", [](const GameObject& o) { return o.sounds[3].source; }, false},
    {"texture", [](const GameObject& o) { return o.texture; }, false},
    {"x", [](const GameObject& o) { return o.x; }, true},
    {"y", [](const GameObject& o) { return o.y; }, true},
    {"angle", [](const GameObject& o) { return o.angle; }, true},
    {"z", [](const GameObject& o) { return o.z; }, true},
    {"visible", [](const GameObject& o) { return o.visible; }, false},
    {"type", [](const GameObject& o) { return o.type; }, true},
    {"height", [](const GameObject& o) { return o.height; }, true},
    {"width", [](const GameObject& o) { return o.width; }, true},
    {"speed", [](const GameObject& o) { return o.speed; }, true},
    {"phase", [](const GameObject& o) { return o.phase; }, true},
    {"health", [](const GameObject& o) { return o.health; }, true},
    {"sway", [](const GameObject& o) { return o.sway; }, false},
    {"small", [](const GameObject& o) { return o.small; }, true},
    {"squeezing", [](const GameObject& o) { return o.squeezing; }, false},
    {"velocityX", [](const GameObject& o) { return o.velocityX; }, true},
    {"velocityY", [](const GameObject& o) { return o.velocityY; }, true},
    {"revived", [](const GameObject& o) { return o.revived; }, false},
    {"score", [](const GameObject& o) { return o.score; }, true},
    {"level", [](const GameObject& o) { return o.level; }, true},
    {"pickupKind", [](const GameObject& o) { return o.pickupKind; }, false},
    {"oilCount", [](const GameObject& o) { return o.oilCount; }, true},
    {"syringeCount", [](const GameObject& o) { return o.syringeCount; }, true},
};

// Distinct values in every field; the boolean fields opposite between the two records.
GameObject distinctRecord(int base, bool flags) {
    GameObject record;
    record.sounds[3].buffer = base + 1;
    record.sounds[3].source = base + 2;
    record.texture = base + 3;
    record.x = base + 4.5f;
    record.y = base + 5.5f;
    record.angle = base + 6.5f;
    record.z = base + 7.5f;
    record.visible = flags;
    record.type = base + 8;
    record.height = base + 9.5f;
    record.width = base + 10.5f;
    record.speed = base + 11.5f;
    record.phase = base + 12;
    record.health = base + 13;
    record.sway = base + 14.5f;
    record.small = flags;
    record.squeezing = flags;
    record.velocityX = base + 15.5f;
    record.velocityY = base + 16.5f;
    record.revived = flags;
    record.score = base + 17;
    record.level = base + 18;
    record.pickupKind = base + 19;
    record.oilCount = base + 20;
    record.syringeCount = base + 21;
    return record;
}

TEST(MorphInto, ObjectKeepsItsStateAndTakesTheLookWhichKeepsTheState) {
    const GameObject objectBefore = distinctRecord(0, true);
    const GameObject lookBefore = distinctRecord(100, false);
    GameObject object = objectBefore;
    GameObject look = lookBefore;
    morphInto(object, look);
    for (const FieldRow& row : fieldRows) {
        SCOPED_TRACE(row.name);
        const GameObject& source = row.isState ? objectBefore : lookBefore;
        EXPECT_EQ(row.read(object), row.read(source)) << "object";
        EXPECT_EQ(row.read(look), row.read(source)) << "look";
    }
}

TEST(MorphInto, SoundSlotsComeWholeFromTheLook) {
    GameObject object;
    object.sounds[0] = SoundClip{5, 6};
    GameObject look;
    look.sounds[1] = SoundClip{8, 9};
    morphInto(object, look);
    EXPECT_EQ(object.sounds[0].source, 0u) << "the player's own clip is replaced by an empty slot";
    EXPECT_EQ(object.sounds[1].buffer, 8u);
    EXPECT_EQ(object.sounds[1].source, 9u);
}

TEST(MorphInto, IntoItselfChangesNothing) {
    const GameObject before = distinctRecord(0, true);
    GameObject object = before;
    morphInto(object, object);
    for (const FieldRow& row : fieldRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.read(object), row.read(before));
    }
}

} // namespace
