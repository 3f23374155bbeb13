"""The module's own functions that are no wrapper of an engine operation. (IsNull and
Breakpoint are built into the module itself, scripting/Appc.cpp.)"""

from appcdef import Group, Native

GROUPS = [
    Group("module", [
        # Frees a memory block the engine handed out as a pointer object.
        Native("DeleteBuffer", "AppcDeleteBuffer"),
    ]),
]
