#pragma once

#include "editor/CameraTool.h"

// Drags the camera and its target along the view direction: up moves them forwards, scaled by the model
// scale. The view's mouse wheel lends it too.
class ZoomTool : public CameraTool
{
public:
    using CameraTool::CameraTool;

    int Move(int x, int y) override;
};
