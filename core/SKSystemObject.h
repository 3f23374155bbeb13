#pragma once

#include <cstdint>

// The engine starts and stops in phases through system objects. Each declares an unsigned
// priority and joins one global list when it is constructed: descending priority, equal
// priorities in the order of construction. The walkers below run one phase over the whole
// list, forward phases from the highest priority down, reverse phases from the lowest up.
//
// The list order must not depend on static initialisation, so the engine's system objects
// are function-local statics reached through Instance(), and the application reaches them
// in this order before it runs the first phase: localization, script host, core start-up,
// core registration, model properties. (The script host and the core start-up object share
// a priority; the script host comes first because it is constructed first.)
class SKSystemObject
{
public:
    explicit SKSystemObject(uint32_t uiPriority);
    virtual ~SKSystemObject();

    SKSystemObject(const SKSystemObject&) = delete;
    SKSystemObject& operator=(const SKSystemObject&) = delete;

    // The eight phases, in slot order.
    virtual void Init() = 0;
    virtual void PostInit() {}
    virtual void ForwardPhase() {}
    virtual void PreShutdown() {}
    virtual void ReleaseResources() {}
    virtual void Shutdown() = 0;
    virtual void ReversePhase() {}
    virtual void ReversePhaseWithArgument(int) {}

    uint32_t GetPriority() const { return m_uiPriority; }
    SKSystemObject* GetNext() const { return m_pkNext; }
    SKSystemObject* GetPrevious() const { return m_pkPrevious; }
    static SKSystemObject* GetFirst() { return ms_pkFirst; }
    static SKSystemObject* GetLast() { return ms_pkLast; }

    static void ForwardPhaseAll();
    static void ReversePhaseAll();
    static void ReversePhaseWithArgumentAll(int iArgument);

    // Call a member operation with an argument on every object, first to last or last to
    // first. The successor is taken after the call.
    using Operation = void (SKSystemObject::*)(int);
    static void WalkForward(Operation pfnOperation, int iArgument);
    static void WalkBackward(Operation pfnOperation, int iArgument);

private:
    void Link();
    void Unlink();

    SKSystemObject* m_pkNext = nullptr;
    SKSystemObject* m_pkPrevious = nullptr;
    uint32_t m_uiPriority;

    static constinit inline SKSystemObject* ms_pkFirst = nullptr;
    static constinit inline SKSystemObject* ms_pkLast = nullptr;
};

// The application runs InitAllSystemObjects and PostInitAllSystemObjects at start-up, and
// ReleaseAllSystemObjects (every PreShutdown, then every ReleaseResources) and
// ShutdownAllSystemObjects at exit.
void InitAllSystemObjects();
void PostInitAllSystemObjects();
void ReleaseAllSystemObjects();
void ShutdownAllSystemObjects();
