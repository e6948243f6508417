#pragma once

#include "MathAtom.h"

// Maps a character and a font style to the character of the Unicode mathematical alphabets
// that the math font draws it with: 'x' in the default style is U+1D465, math italic x.
namespace MathAlphabet {

char32_t styled(char32_t c, Math::Atom::FontStyle style);

}
