#pragma once
// The script security level: a process-wide counter that the host raises around every
// piece of work in which it runs script code on the engine's behalf. While it is above 0
// the interpreter's open() refuses (see OpenGate). Nested raises stack.

// flag non-zero adds 1, flag 0 subtracts 1; returns the new level.
int Py_ChangeSecureLevel(int flag);
// 1 while the level is above 0, else 0.
int Py_IsSecure();

namespace PyEmbed
{
void LowerSecureLevel();
int GetSecureLevel();

// Raises the level for its lifetime, on every path out, exceptions included. A script
// error left pending by someone else is reported first, so the work starts clean.
class SecureBracket
{
public:
    SecureBracket();
    ~SecureBracket();
    SecureBracket(const SecureBracket&) = delete;
    SecureBracket& operator=(const SecureBracket&) = delete;
};

// Drops the level to 0 for its lifetime and puts it back after: the host's own reading
// of script sources (the lines of a traceback) is no script opening a file.
class SecureLevelPause
{
public:
    SecureLevelPause();
    ~SecureLevelPause();
    SecureLevelPause(const SecureLevelPause&) = delete;
    SecureLevelPause& operator=(const SecureLevelPause&) = delete;

private:
    int m_iSavedLevel;
};
} // namespace PyEmbed
