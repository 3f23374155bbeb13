#pragma once
// The script host's system object: starts the interpreter with module Appc among its
// built-in modules (Init), imports module App once every system object has started
// (PostInit), drops App (ReleaseResources) and stops the interpreter (Shutdown).

class PyEmbedSystemObject
{
public:
    static constexpr unsigned int PRIORITY = 0xA0000000u;

    void Init();
    void PostInit();
    void ReleaseResources();
    void Shutdown();
};
