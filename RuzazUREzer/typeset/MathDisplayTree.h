#pragma once

// The kinds of display node, for code that builds or walks a typeset formula.
#include "MathDisplayNode.h"
#include "MathGlyphNode.h"
#include "MathListNode.h"
#include "MathRuleNode.h"
