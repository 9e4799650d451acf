// Text on screen: one FTGL pixmap font from "csnpwdt.ttf".
#pragma once

// Draws the text at a raster position of the current transform, face size size + 20 pixels, and
// leaves the current GL colour white.
void drawText(const char* text, float x, float y, float red, float green, float blue, int size);
