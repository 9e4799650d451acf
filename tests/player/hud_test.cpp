#include "player/hud.h"
#include "player/movement.h"
#include "player/weapon.h"
#include "player_fixture.h"

#include <limits>

namespace {

class HudTest : public PlayerTest {};

TEST_F(HudTest, HealthGaugeGrowsUpwardsWithHealth) {
    struct Case {
        std::int32_t health;
        float height, y;
    };
    const Case cases[] = {
        {100, 1.5f, -2.3f},   {50, 0.75f, -3.05f},   {0, 0, -3.8f},
        {150, 2.25f, -1.55f}, {-10, -0.15f, -3.95f},
    };
    for (const Case& c : cases) {
        SetUp();
        state.world.player.health = c.health;
        updateGauges(state);
        const std::vector<DrawRecord> sprites = spritesDrawn(*fake);
        ASSERT_EQ(sprites.size(), 2u);
        EXPECT_EQ(sprites[0].texture, healthGaugeTexture) << "the health gauge first";
        EXPECT_NEAR(sprites[0].height, c.height, 1e-5) << "health " << c.health;
        EXPECT_NEAR(sprites[0].y, c.y, 1e-5) << "health " << c.health;
        EXPECT_FLOAT_EQ(sprites[0].x, -4.5f);
        EXPECT_FLOAT_EQ(sprites[0].width, 2.0f);
        EXPECT_NEAR(state.world.healthGauge.height, c.height, 1e-5);
        EXPECT_NEAR(state.world.healthGauge.y, c.y, 1e-5);
    }
}

TEST_F(HudTest, DamageGaugeShowsTheLastComputedDamage) {
    struct Case {
        std::int32_t damage;
        float height, y;
    };
    for (const Case& c : {Case{0, 0, -3.8f}, Case{5, 1.5f, -2.3f}, Case{10, 3.0f, -0.8f}}) {
        SetUp();
        state.play.bulletDamage = c.damage;
        updateGauges(state);
        const std::vector<DrawRecord> sprites = spritesDrawn(*fake);
        ASSERT_EQ(sprites.size(), 2u);
        EXPECT_EQ(sprites[1].texture, damageGaugeTexture);
        EXPECT_NEAR(sprites[1].height, c.height, 1e-5) << "damage " << c.damage;
        EXPECT_NEAR(sprites[1].y, c.y, 1e-5) << "damage " << c.damage;
        EXPECT_FLOAT_EQ(sprites[1].x, 4.5f);
        EXPECT_FLOAT_EQ(sprites[1].width, 2.0f);
    }
}

TEST_F(HudTest, NumbersAreDrawnInDecimalAtTheirPlaces) {
    struct Case {
        std::int32_t score, oil, syringes;
        const char *scoreText, *oilText, *syringeText;
    };
    const Case cases[] = {
        {1234, 0, 0, "1234", "0", "0"},
        {0, 7, 12, "0", "7", "12"},
        {std::numeric_limits<std::int32_t>::min(), -1, std::numeric_limits<std::int32_t>::max(),
         "-2147483648", "-1", "2147483647"},
    };
    for (const Case& c : cases) {
        SetUp();
        state.world.player.score = c.score;
        state.world.player.oilCount = c.oil;
        state.world.player.syringeCount = c.syringes;
        drawCounters(state);
        drawScore(state);
        const std::vector<DrawRecord> texts = textsDrawn(*fake);
        ASSERT_EQ(texts.size(), 3u);
        struct Expected {
            const char* text;
            float x, y, colour;
            int size;
        };
        const Expected expected[] = {{c.oilText, 4.5f, -3.0f, 255, 20},
                                     {c.syringeText, -4.5f, -3.0f, 255, 20},
                                     {c.scoreText, -0.5f, 2.8f, 1, 40}};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(texts[i].text, expected[i].text);
            EXPECT_FLOAT_EQ(texts[i].x, expected[i].x) << expected[i].text;
            EXPECT_FLOAT_EQ(texts[i].y, expected[i].y) << expected[i].text;
            EXPECT_EQ(texts[i].size, expected[i].size) << expected[i].text;
            EXPECT_EQ(texts[i].red, expected[i].colour) << expected[i].text;
            EXPECT_EQ(texts[i].green, expected[i].colour) << expected[i].text;
            EXPECT_EQ(texts[i].blue, expected[i].colour) << expected[i].text;
        }
    }
}

// The texts of the player's modes, each at its place while its condition holds.
TEST_F(HudTest, ModeTextsShowAtTheirPlacesOnlyWhileTheirModeRuns) {
    struct Case {
        const char* text;
        float x, y;
        int size;
        void (*setOn)(GameState&);
        void (*draw)(GameState&);
    };
    const Case cases[] = {
        {"Press SHIFT", -1.0f, 2.0f, 20, [](GameState& s) { s.play.ammunition = 0; },
         [](GameState& s) { runReload(s); }},
        {"!DOUBLE DAMAGE!", -2.0f, 1.5f, 30, [](GameState& s) { s.play.doubleDamageActive = true; },
         [](GameState& s) { showDoubleDamageText(s); }},
        {"-UNHARMABLE-", -2.0f, -0.5f, 30, [](GameState& s) { s.play.unharmableActive = true; },
         [](GameState& s) { runUnharmable(s); }},
    };
    for (const Case& c : cases) {
        SetUp();
        state.play.ammunition = 1;
        c.draw(state);
        EXPECT_TRUE(textsDrawn(*fake).empty()) << c.text;
        c.setOn(state);
        c.draw(state);
        const std::vector<DrawRecord> texts = textsDrawn(*fake);
        ASSERT_EQ(texts.size(), 1u) << c.text;
        EXPECT_EQ(texts[0].text, c.text);
        EXPECT_FLOAT_EQ(texts[0].x, c.x) << c.text;
        EXPECT_FLOAT_EQ(texts[0].y, c.y) << c.text;
        EXPECT_EQ(texts[0].size, c.size) << c.text;
        EXPECT_EQ(texts[0].red, 1) << c.text;
        EXPECT_EQ(texts[0].green, 1) << c.text;
        EXPECT_EQ(texts[0].blue, 1) << c.text;
    }
}

} // namespace
