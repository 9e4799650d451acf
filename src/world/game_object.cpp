#include "world/game_object.h"

#include "platform/platform.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

// The scrolling background's height: the second copy sits this far above the first.
constexpr float scrollHeight = 10.4f;
constexpr float scrollStep = 0.05f;
constexpr float wallX = 4.0f;

// One textured quad centred on (x, y, z); texture row 0 (the picture's top) at the top edge.
void drawQuad(const GameObject& object, float y, bool rotated) {
    const float halfWidth = object.width / 2;
    const float halfHeight = object.height / 2;
    glPushMatrix();
    glTranslatef(object.x, y, object.z);
    glBindTexture(GL_TEXTURE_2D, object.texture);
    if (rotated) {
        glRotatef(object.angle, 0, 0, 1);
    }
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-halfWidth, halfHeight, 0);
    glTexCoord2f(1, 0);
    glVertex3f(halfWidth, halfHeight, 0);
    glTexCoord2f(1, 1);
    glVertex3f(halfWidth, -halfHeight, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-halfWidth, -halfHeight, 0);
    glEnd();
    glPopMatrix();
    if (drawLogEnabled()) {
        DrawRecord record;
        record.kind = DrawRecord::Kind::sprite;
        record.texture = object.texture;
        record.x = object.x;
        record.y = y;
        record.z = object.z;
        record.width = object.width;
        record.height = object.height;
        record.angle = rotated ? object.angle : 0.0f;
        recordDraw(record);
    }
}

bool isEven(std::int32_t value) {
    return value % 2 == 0;
}

// The first direction of a sideways mover: towards +x when it starts right of the middle.
void chooseFirstDirection(GameObject& object) {
    if (object.phase == 0) {
        object.phase = object.x > 0 ? 1 : 0;
    }
}

bool beyondWall(const GameObject& object) {
    return object.x >= wallX || object.x <= -wallX;
}

void growBy(GameObject& object, float amount) {
    object.width += amount;
    object.height += amount;
}

void stepSway(GameObject& object) {
    object.y -= object.speed;
    chooseFirstDirection(object);
    if (beyondWall(object)) {
        object.phase += 1;
        if (object.small) {
            object.squeezing = true;
        }
    }
    if ((object.x >= 3.5f || object.x <= -3.5f) && !object.small) {
        object.squeezing = true;
    }
    if (isEven(object.phase)) {
        object.x -= object.speed * object.sway;
        object.angle += object.speed * 10;
    } else {
        object.x += object.speed * object.sway;
        object.angle -= object.speed * 10;
    }
    if (!object.squeezing) {
        const float limit = object.small ? 1.0f : 2.0f;
        if (object.width <= limit) {
            growBy(object, 0.04f);
        }
    } else if (!object.small) {
        if (object.width <= 1.5f) {
            object.squeezing = false;
        } else {
            growBy(object, -0.03f);
        }
    } else {
        if (object.width <= 0.5f) {
            object.squeezing = false;
        } else {
            growBy(object, -0.02f);
        }
    }
}

// Zigzag and tumble share the sideways run; they differ in how fast they turn.
void stepSideways(GameObject& object, float turnRate) {
    chooseFirstDirection(object);
    if (beyondWall(object)) {
        object.phase += 1;
    }
    if (isEven(object.phase)) {
        object.x -= 2 * object.speed;
        object.angle += object.speed * turnRate;
    } else {
        object.x += 2 * object.speed;
        object.angle -= object.speed * turnRate;
    }
}

void stepZigzag(GameObject& object) {
    object.y -= object.speed;
    object.angle += object.speed * 0.5f;
    stepSideways(object, 10);
}

void stepPulse(GameObject& object) {
    object.y -= object.speed;
    const std::int32_t phaseBefore = object.phase;
    if (phaseBefore == 0) {
        growBy(object, 0.01f);
        if (object.width >= 2.0f) {
            object.phase = 1;
        }
    }
    // Also right after the turn above: the peak is touched and left within one step.
    if (object.phase == 1) {
        growBy(object, -0.01f);
        if (object.width <= 1.0f) {
            object.phase = 0;
        }
    }
}

void stepSpin(GameObject& object) {
    object.y -= object.speed;
    object.angle += object.speed * 100;
}

void stepTumble(GameObject& object) {
    object.y -= object.speed;
    object.angle += 2 * object.speed;
    stepSideways(object, 50);
    object.y -= object.speed; // and the plain fall on top: halves drop twice as fast
}

} // namespace

GameObject makeGameObject(const std::string& pictureFile) {
    GameObject object;
    object.texture = loadTexture(pictureFile);
    object.z = 0.1f;
    object.visible = true;
    object.type = kindSway;
    object.height = 2.0f;
    object.width = 2.0f;
    object.health = 100;
    return object;
}

void drawSprite(GameObject& object) {
    if (!object.visible) {
        return;
    }
    drawQuad(object, object.y, true);
    if (object.type != kindScroll) {
        return;
    }
    object.y -= scrollStep;
    if (object.y > 0) {
        return;
    }
    drawQuad(object, object.y + scrollHeight, false);
    if (object.y < -scrollHeight) {
        object.y = 0;
    }
}

void updateByKind(GameObject& object) {
    switch (object.type) {
    case kindSway:
        stepSway(object);
        break;
    case kindZigzag:
        stepZigzag(object);
        break;
    case kindPulse:
        stepPulse(object);
        break;
    case kindSpin:
        stepSpin(object);
        break;
    case kindTumble:
        stepTumble(object);
        break;
    case kindFall:
        object.y -= object.speed;
        break;
    default: // scroll moves while drawn; still, player and menu pictures are moved by their owners
        break;
    }
}

void respawnAtTop(GameObject& object, TextureId revivedLook) {
    object.y = 5.0f;
    if (object.type == kindPulse) {
        object.x = 0.0f;
    } else {
        object.x = static_cast<float>(std::rand() % 7) - 3.25f;
    }
    if (object.revived && object.type == kindSway) {
        object.texture = revivedLook;
        object.revived = false;
    }
}

void morphInto(GameObject& object, GameObject& look) {
    const GameObject state = object;
    look.x = state.x;
    look.y = state.y;
    look.angle = state.angle;
    look.z = state.z;
    look.type = state.type;
    look.height = state.height;
    look.width = state.width;
    look.speed = state.speed;
    look.phase = state.phase;
    look.health = state.health;
    look.small = state.small;
    look.velocityX = state.velocityX;
    look.velocityY = state.velocityY;
    look.score = state.score;
    look.level = state.level;
    look.oilCount = state.oilCount;
    look.syringeCount = state.syringeCount;
    object = look;
}

void setSound(GameObject& object, int slot, const std::string& soundFile) {
    object.sounds[slot] = loadSound(soundFile, object.type == kindSpin);
}
