#pragma once

// Every atom kind, for code that builds or walks whole formulas. Each copies itself
// through clone().
#include "MathOrdinaryAtom.h"
#include "MathLargeOperatorAtom.h"
#include "MathFractionAtom.h"
#include "MathRadicalAtom.h"
#include "MathInnerAtom.h"
#include "MathAccentAtom.h"
#include "MathLineAtom.h"
#include "MathTableAtom.h"
#include "MathStyleAtom.h"
#include "MathSpaceAtom.h"
