#pragma once

#include "editor/CameraTool.h"

// Swings the camera around the view's target, keeping its distance and facing the target: sideways drags turn
// about the camera's up vector, vertical drags about its right vector.
class OrbitTool : public CameraTool
{
public:
    using CameraTool::CameraTool;

    int Move(int x, int y) override;
};
