#pragma once

#include "editor/CameraTool.h"

// Drags the camera and its target across the view: down moves them along the camera's up vector, right
// against its right vector at half that rate, both scaled by the model scale.
class PanTool : public CameraTool
{
public:
    using CameraTool::CameraTool;

    int Move(int x, int y) override;
};
