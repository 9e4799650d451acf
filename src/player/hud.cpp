#include "player/hud.h"

#include "media/text.h"

#include <charconv>
#include <cstdint>

namespace {

// Room for any signed 32-bit value in decimal, sign and terminator included.
struct NumberText {
    char digits[20];
};

NumberText decimal(std::int32_t value) {
    NumberText text{};
    const auto end = std::to_chars(text.digits, text.digits + sizeof text.digits - 1, value);
    *end.ptr = '\0';
    return text;
}

// A gauge stretches its picture to the value and, since y = height - 3.8, grows upwards while its
// base lifts slightly.
void fitGauge(GameObject& gauge, float height) {
    gauge.height = height;
    gauge.y = -2.8f - (1.0f - height);
}

} // namespace

void updateGauges(GameState& state) {
    World& world = state.world;
    fitGauge(world.damageGauge, static_cast<float>(state.play.bulletDamage) * 0.3f);
    // No upper limit: health above 100 draws a taller gauge, negative health an upside-down one.
    fitGauge(world.healthGauge, static_cast<float>(world.player.health) / 100.0f * 1.5f);
    drawSprite(world.healthGauge);
    drawSprite(world.damageGauge);
}

void drawCounters(const GameState& state) {
    const GameObject& player = state.world.player;
    drawText(decimal(player.oilCount).digits, 4.5f, -3.0f, 255, 255, 255, 20);
    drawText(decimal(player.syringeCount).digits, -4.5f, -3.0f, 255, 255, 255, 20);
}

void drawScore(const GameState& state) {
    drawText(decimal(state.world.player.score).digits, -0.5f, 2.8f, 1, 1, 1, 40);
}
