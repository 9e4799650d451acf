#include "media/text.h"

#include "platform/platform.h"

#include <FTGL/ftgl.h>
#include <GL/gl.h>

namespace {
// The game's one font, made before the entry point runs. A missing file is never reported: every
// text then draws nothing.
FTPixmapFont gameFont("csnpwdt.ttf");
// FTGL drops every rendered glyph on each FaceSize call, even to the size it already has, so the
// size is set only when it changes: rendering every glyph anew costs tens of microseconds a text.
unsigned gameFontSize = 0;
} // namespace

void drawText(const char* text, float x, float y, float red, float green, float blue, int size) {
    // FTGL dereferences a face that failed to open, so without the font file the glyph calls
    // are left out; the rest runs as always and the missing font stays silent.
    const bool fontLoaded = gameFont.Error() == 0;
    const unsigned faceSize = static_cast<unsigned>(size + 20);
    if (fontLoaded && faceSize != gameFontSize && gameFont.FaceSize(faceSize, 72)) {
        gameFontSize = faceSize;
    }
    glPushMatrix();
    // The raster position comes before the colour: GL latches the raster colour here, while the
    // current colour is still the white the previous call left.
    glRasterPos2f(x, y);
    glColor3f(red, green, blue);
    if (fontLoaded) {
        gameFont.Render(text, -1, FTPoint(), FTPoint(), FTGL::RENDER_ALL);
    }
    glPopMatrix();
    glColor3f(1.0f, 1.0f, 1.0f);
    if (drawLogEnabled()) {
        DrawRecord record;
        record.kind = DrawRecord::Kind::text;
        record.text = text;
        record.x = x;
        record.y = y;
        record.size = size;
        record.red = red;
        record.green = green;
        record.blue = blue;
        recordDraw(record);
    }
}
