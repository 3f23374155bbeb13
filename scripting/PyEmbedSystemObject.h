#pragma once
// The script host's system object: starts the interpreter with module Appc among its
// built-in modules (Init), imports module App once every system object has started and
// adds the methods queued for it (PostInit), drops App (ReleaseResources) and stops the
// interpreter, emptying the host's registries (Shutdown).

#include "core/SKSystemObject.h"

class PyEmbedSystemObject : public SKSystemObject
{
public:
    static constexpr uint32_t PRIORITY = 0xA0000000u;

    // The one instance, made on first use.
    static PyEmbedSystemObject& Instance();

    void Init() override;
    void PostInit() override;
    void ReleaseResources() override;
    void Shutdown() override;

private:
    PyEmbedSystemObject() : SKSystemObject(PRIORITY) {}
};
