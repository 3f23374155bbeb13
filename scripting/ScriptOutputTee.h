#pragma once
// Where the interpreter's sys.stdout and sys.stderr lead besides the streams they had: a
// windowed program shows what scripts print (tracebacks above all) to a user who has no
// terminal. Each write reaches the stream it replaced first (the terminal keeps everything),
// then the sink, with the text as UTF-8 and whether it was written to sys.stderr. Main thread
// only; install it after the interpreter started, remove it before the interpreter stops.

class ScriptOutputTee
{
public:
    using Sink = void (*)(void* context, const char* text, bool error);

    // Replaces sys.stdout and sys.stderr by tees over them; an earlier tee is removed first.
    // False, with the streams left as they were, when the interpreter is not running.
    static bool Install(Sink sink, void* context);
    // Gives sys.stdout and sys.stderr their streams back where a tee of Install still holds
    // them; the sink is called no more.
    static void Remove();
};
