#pragma once
// TBitmapFont2: text drawn from one picture that holds all 256 character
// codes in equal cells (cell n = code n, left to right, then top to bottom),
// at a fixed advance of one cell, following the current drawing scale.

#include <string>

#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace game {

class TBitmapFont2 : public plat::Object {
public:
    // Justification arguments of write().
    static constexpr int L_JUSTIFY = 0;  // x is the left edge
    static constexpr int R_JUSTIFY = 1;  // x is the right edge
    static constexpr int T_JUSTIFY = 2;  // y is the top edge
    static constexpr int B_JUSTIFY = 3;  // y is the bottom edge
    static constexpr int CENTRE = 4;     // x or y is the middle

    plat::Ref<plat::TImage> font;  // 256 cells of charw x charh; nullptr before a load
    int charw = 0;
    int charh = 0;
    std::string name;  // the file the font came from

    virtual ~TBitmapFont2() = default;

    // A loaded font, or nullptr when the picture cannot be loaded or its
    // cell size cannot be measured.  width -1 measures the cells from the
    // picture (height is then ignored).
    static plat::Ref<TBitmapFont2> Create(const std::string& file, int width, int height);
    // 1 when the picture was loaded and cut into 256 cells, else 0.
    virtual int Load(const std::string& file, int width, int height);
    // Draws the text cell by cell in the current colour, alpha and scale;
    // always returns 0.
    virtual int write(const std::string& text, float x, float y, int hjust, int vjust);
    // The cell size from the picture's marks: the colour of its top-left
    // pixel runs down the left column and along the top row up to the cell
    // boundary.  1 on success, else 0.
    virtual int find_char_dimension(const std::string& file);
};

// Writes with the game's BitmapFont, x the left edge and y the top of the
// text; nothing while no font is loaded.
void WriteText(const std::string& text, float x, float y);

}  // namespace game
