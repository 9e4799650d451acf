#include "world/game_assets.h"

#include "world/pool_start.h"

#include <string>

namespace {

GameObject makeBackground(const std::string& pictureFile, std::int32_t type, float z) {
    GameObject background = makeGameObject(pictureFile);
    background.type = type;
    background.z = z;
    background.height = 10.4f;
    background.width = 13.8f;
    return background;
}

// The virus and its looks share place and size.
GameObject makeVirusLook(const std::string& pictureFile) {
    GameObject look = makeGameObject(pictureFile);
    look.type = kindPlayer;
    look.y = -2.8f;
    look.z = 0;
    look.height = 3.0f;
    look.width = 3.0f;
    return look;
}

GameObject makeBulletLook(const std::string& pictureFile) {
    GameObject look = makeGameObject(pictureFile);
    look.type = kindStill;
    look.z = 1.1f;
    look.height = 0.3f;
    look.width = 0.3f;
    return look;
}

GameObject makeGauge(const std::string& pictureFile, float x) {
    GameObject gauge = makeGameObject(pictureFile);
    gauge.type = kindStill;
    gauge.z = 1.0f;
    gauge.height = 1.5f;
    gauge.width = 2.0f;
    gauge.x = x;
    gauge.y = -2.8f;
    return gauge;
}

GameObject makePickupLook(const std::string& pictureFile, std::int32_t type, float z) {
    GameObject look = makeGameObject(pictureFile);
    look.type = type;
    look.z = z;
    return look;
}

void loadBubbles(World& world) {
    world.bubbleTemplate = makeGameObject("qor_bubi.png");
    world.bubbleTemplate.type = kindFall;
    world.bubbleTemplate.z = -0.1f;
    world.bubbleTemplate.height = 1.0f;
    world.bubbleTemplate.width = 1.0f;
    // The pool is copied before the template gets its clips: sounds play from the template only.
    world.bubbles.fill(world.bubbleTemplate);
    placePoolsAtLoad(world, StartPool::bubbles);
    setSound(world.bubbleTemplate, 0, "DRIPITY.WAV");
    setSound(world.bubbleTemplate, 1, "TAOOOT.WAV");
    setSound(world.bubbleTemplate, 2, "THUMP.WAV");
    setSound(world.bubbleTemplate, 3, "WALL.WAV");
    setSound(world.bubbleTemplate, 4, "explode.wav");
}

void loadPlayer(World& world) {
    world.player = makeVirusLook("qor_virus5.png");
    world.player.speed = 0.065f;
    world.player.level = 0;
    world.firingLookA = makeVirusLook("qor_virus7.png");
    world.firingLookB = makeVirusLook("qor_virus8.png");
    world.restingLook = makeVirusLook("qor_virus5.png");
    world.dyingLook = makeVirusLook("qor_virus5h2.png");
    setSound(world.player, 0, "loadclip.wav");
}

void loadBullets(World& world) {
    world.bulletTemplate = makeBulletLook("qor_bullet1.png");
    world.bulletTemplate.phase = 0;
    world.bullets.fill(world.bulletTemplate);
    for (GameObject& bullet : world.bullets) {
        bullet.x = world.player.x;
        bullet.y = world.player.y + world.player.width * 0.5f;
    }
    world.bulletLooks.fill(world.bulletTemplate);
    world.bulletLooks[0] = makeBulletLook("qor_bullet1.png");
    world.bulletLooks[1] = makeBulletLook("qor_bullet2.png");
    world.bulletLooks[2] = makeBulletLook("qor_bullet3.png");
    world.bulletLooks[3] = makeBulletLook("qor_bullet4.png");
    world.impactFlashes.fill(world.bulletTemplate);
}

void loadGauges(World& world) {
    world.cellHealthBar = makeGameObject("life.png");
    world.cellHealthBar.type = kindStill;
    world.cellHealthBar.z = 1.0f;
    world.cellHealthBar.height = 1.0f;
    world.cellHealthBar.width = 1.0f;
    world.cellHealthBar.visible = false;
    world.healthGauge = makeGauge("life2.png", -4.5f);
    world.damageGauge = makeGauge("life3.png", 4.5f);
}

void loadWhiteCells(World& world) {
    world.whiteCellTemplate = makeGameObject("qor_fver3.png");
    world.whiteCells.fill(world.whiteCellTemplate);
    placePoolsAtLoad(world, StartPool::whiteCells);
    setSound(world.whiteCellTemplate, 0, "pig.wav");
    setSound(world.whiteCellTemplate, 1, "ploop.wav");
    setSound(world.whiteCellTemplate, 2, "loadclip.wav");
    setSound(world.whiteCellTemplate, 3, "implosion2.wav");
    setSound(world.whiteCellTemplate, 4, "HIT.WAV");
    world.deadWhiteCellLook = makeGameObject("qor_fver2.png");
    // Loaded once here, so that a revived cell's respawn creates no texture during play.
    world.revivedWhiteCellTexture = loadTexture("qor_fver.png");
}

void loadHalves(World& world) {
    world.leftHalfTemplate = makeGameObject("qor_fverx1.png");
    world.leftHalfTemplate.type = kindTumble;
    world.leftHalfTemplate.y = -6.0f;
    world.leftHalves.fill(world.leftHalfTemplate);
    world.rightHalfTemplate = makeGameObject("qor_fverx2.png");
    world.rightHalfTemplate.type = kindTumble;
    world.rightHalfTemplate.y = -6.0f;
    world.rightHalves.fill(world.rightHalfTemplate);
    placePoolsAtLoad(world, StartPool::halves);
}

void loadRedCells(World& world) {
    world.redCellTemplate = makeGameObject("qor_vver.png");
    world.redCells.fill(world.redCellTemplate);
    placePoolsAtLoad(world, StartPool::redCells);
    setSound(world.redCellTemplate, 0, "pig_4.wav");
}

void loadPickupLooks(World& world) {
    world.cigaretteLook = makePickupLook("qor_cigi.png", kindZigzag, 0.05f);
    world.cigaretteLook.visible = false;
    world.cigaretteLook.speed = 0.04f;
    // Stays visible with speed 0: a cigarette that burns takes this look and must stay in sight.
    world.burntCigaretteLook = makePickupLook("qor_cigi2.png", kindZigzag, 0.05f);
    world.oilLook = makePickupLook("qor_olaj.png", kindPulse, 0.05f);
    world.oilLook.visible = false;
    world.oilLook.speed = 0.04f;
    world.oilLook.phase = 0;
    world.syringeLook = makePickupLook("qor_szuri.png", kindSpin, 0.5f);
    world.syringeLook.speed = 0.04f;
    respawnAtTop(world.syringeLook, world.revivedWhiteCellTexture);
    world.syringeLook.visible = false;
}

void loadExplosion(World& world) {
    world.explosion = makeGameObject("qor_bumm1.png");
    world.explosion.type = kindScroll;
    world.explosion.z = 0.05f;
    const std::array<std::string, 10> frameFiles = {
        "qor_bumm1.png", "qor_bumm2.png", "qor_bumm3.png", "qor_bumm4.png", "qor_bumm5.png",
        "qor_bumm6.png", "qor_bumm7.png", "qor_bumm8.png", "qor_bumm9.png", "qor_bumm10.png"};
    world.explosion.texture = loadTexture(frameFiles[0]);
    world.explosion.visible = false;
    world.explosion.z = 3.0f;
    world.explosionFrames.fill(world.explosion);
    for (std::size_t frame = 0; frame < frameFiles.size(); ++frame) {
        world.explosionFrames[frame].texture = loadTexture(frameFiles[frame]);
    }
}

// Once per run: a new game keeps whatever the last one left of these.
void resetModeFlags(PlayState& play) {
    play.doubleDamageActive = false;
    play.doubleDamageOilNeeded = 5;
    play.ammunition = 0;
    play.reloadLatch = false;
    play.unharmableActive = false;
    play.unharmableStart = 0;
    play.perfectShooterActive = false;
    play.perfectShooterStart = 0;
    play.bloodPressureActive = false;
    play.bloodPressureStart = 0;
    play.beatmachineEarned = false;
    play.hardRockinPlayed = false;
}

void loadBonusSounds(World& world) {
    world.bonusSounds = makeGameObject("qor_szuri.png");
    world.bonusSounds.type = kindPulse;
    world.bonusSounds.z = 0.5f;
    setSound(world.bonusSounds, 0, "damageborsos.wav");
    setSound(world.bonusSounds, 1, "bloodpressure.wav");
    setSound(world.bonusSounds, 2, "godlike.wav");
    setSound(world.bonusSounds, 3, "perfectshooter.wav");
    setSound(world.bonusSounds, 4, "hardrockin.wav");
    setSound(world.bonusSounds, 5, "beatmachine.wav");
}

} // namespace

GameObject makeStaticRecord() {
    return makeGameObject("qor_virus5.png");
}

void loadGameBackgrounds(World& world) {
    world.scrollingBackground = makeBackground("qor_back2.png", kindScroll, -2.0f);
    world.staticBackground = makeBackground("qor_back.png", kindSpin, -2.5f);
}

void loadGameAssets(GameState& state) {
    World& world = state.world;
    // The music object is of the spin kind, so these three loop.
    setSound(world.staticBackground, 0, "ingame2.wav");
    setSound(world.staticBackground, 2, "chainsaw.wav");
    setSound(world.staticBackground, 5, "loves.wav");
    loadBubbles(world);
    loadPlayer(world);
    loadBullets(world);
    loadGauges(world);
    loadWhiteCells(world);
    loadHalves(world);
    loadRedCells(world);
    loadPickupLooks(world);
    loadExplosion(world);
    staticRecord[0].visible = false;
    resetModeFlags(state.play);
    loadBonusSounds(world);
}
