// The review picture: every generated picture on a mid-grey ground with its file name under it.
#pragma once

#include "image.h"
#include "text_render.h"

#include <vector>

Image makeContactSheet(const std::vector<NamedImage>& pictures, const FontFace& font);
