#pragma once

#include "editor/CameraTool.h"

// Turns the view around the camera, which stays where it is: the target swings about the camera's up and
// right vectors, or, with Shift held, the view rolls about its direction.
class RotateTool : public CameraTool
{
public:
    using CameraTool::CameraTool;

    int Move(int x, int y) override;
};
