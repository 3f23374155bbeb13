#include "core/SKSystemObject.h"

namespace
{

template <typename Call> void ForEachForward(Call call)
{
    for (SKSystemObject* object = SKSystemObject::GetFirst(); object; object = object->GetNext())
        call(*object);
}

template <typename Call> void ForEachBackward(Call call)
{
    for (SKSystemObject* object = SKSystemObject::GetLast(); object; object = object->GetPrevious())
        call(*object);
}

} // namespace

SKSystemObject::SKSystemObject(uint32_t uiPriority) : m_uiPriority(uiPriority)
{
    Link();
}

SKSystemObject::~SKSystemObject()
{
    Unlink();
}

void SKSystemObject::Link()
{
    if (m_pkNext || m_pkPrevious || ms_pkFirst == this)
        return;

    // After every object of higher or equal priority.
    SKSystemObject* before = ms_pkFirst;
    while (before && before->m_uiPriority >= m_uiPriority)
        before = before->m_pkNext;

    m_pkNext = before;
    m_pkPrevious = before ? before->m_pkPrevious : ms_pkLast;
    if (m_pkPrevious)
        m_pkPrevious->m_pkNext = this;
    else
        ms_pkFirst = this;
    if (before)
        before->m_pkPrevious = this;
    else
        ms_pkLast = this;
}

void SKSystemObject::Unlink()
{
    SKSystemObject* object = ms_pkFirst;
    while (object && object != this)
        object = object->m_pkNext;
    if (!object)
        return;

    if (m_pkPrevious)
        m_pkPrevious->m_pkNext = m_pkNext;
    else
        ms_pkFirst = m_pkNext;
    if (m_pkNext)
        m_pkNext->m_pkPrevious = m_pkPrevious;
    else
        ms_pkLast = m_pkPrevious;
    m_pkNext = nullptr;
    m_pkPrevious = nullptr;
}

void SKSystemObject::ForwardPhaseAll()
{
    ForEachForward([](SKSystemObject& object) { object.ForwardPhase(); });
}

void SKSystemObject::ReversePhaseAll()
{
    ForEachBackward([](SKSystemObject& object) { object.ReversePhase(); });
}

void SKSystemObject::ReversePhaseWithArgumentAll(int iArgument)
{
    ForEachBackward([iArgument](SKSystemObject& object) { object.ReversePhaseWithArgument(iArgument); });
}

void SKSystemObject::WalkForward(Operation pfnOperation, int iArgument)
{
    ForEachForward([=](SKSystemObject& object) { (object.*pfnOperation)(iArgument); });
}

void SKSystemObject::WalkBackward(Operation pfnOperation, int iArgument)
{
    ForEachBackward([=](SKSystemObject& object) { (object.*pfnOperation)(iArgument); });
}

void InitAllSystemObjects()
{
    ForEachForward([](SKSystemObject& object) { object.Init(); });
}

void PostInitAllSystemObjects()
{
    ForEachForward([](SKSystemObject& object) { object.PostInit(); });
}

void ReleaseAllSystemObjects()
{
    ForEachBackward([](SKSystemObject& object) { object.PreShutdown(); });
    ForEachBackward([](SKSystemObject& object) { object.ReleaseResources(); });
}

void ShutdownAllSystemObjects()
{
    ForEachBackward([](SKSystemObject& object) { object.Shutdown(); });
}
