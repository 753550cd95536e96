// Written by tools/MakePictures.cpp (build target regenerate-pictures); not edited by hand.
// The built-in pictures in packed 16-colour form: the title, the About emblem, and the
// check box and option box states (grey with mark, white with mark, grey empty, white empty).
#pragma once

#include "graphics/PackedPicture.h"

extern const PackedPicture packedTitlePicture;
extern const PackedPicture packedAboutPicture;
extern const PackedPicture packedCheckBoxPictures[4];
extern const PackedPicture packedOptionBoxPictures[4];
