#include "MathDisplayNode.h"

Math::DisplayNode::~DisplayNode() = default;
