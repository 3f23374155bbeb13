#pragma once
// The gate in front of the interpreter's file opening: builtins.open and io.open are
// replaced by a function that refuses while the script security level is above 0 and
// otherwise opens as the interpreter always does.

namespace PyEmbed
{
// Installs the gate; the interpreter must be running. False (error printed) on failure.
bool InstallOpenGate();
// Forgets the interpreter's own open(); called before the interpreter stops.
void ReleaseOpenGate();
} // namespace PyEmbed
