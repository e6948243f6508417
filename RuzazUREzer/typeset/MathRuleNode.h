#pragma once

#include "MathDisplayNode.h"

// A filled rectangle from the baseline origin: width wide, from -descent to ascent.
class Math::RuleNode : public Math::DisplayNode {
public:
    RuleNode() : DisplayNode(Kind::rule) {}
};
