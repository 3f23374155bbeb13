#pragma once

#include "platform/d3d7/World.h"

namespace d3d7
{
// Makes a world current for a scope and puts the previous one back.
class ScopedWorld
{
public:
    explicit ScopedWorld(std::shared_ptr<World> pkWorld) : m_pkPrevious(SetWorld(std::move(pkWorld))) {}
    ~ScopedWorld() { SetWorld(std::move(m_pkPrevious)); }

    ScopedWorld(const ScopedWorld&) = delete;
    ScopedWorld& operator=(const ScopedWorld&) = delete;

private:
    std::shared_ptr<World> m_pkPrevious;
};
} // namespace d3d7
