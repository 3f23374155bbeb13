"""The module's own functions that are no wrapper of an engine operation. (IsNull and
Breakpoint are built into the module itself, scripting/Appc.cpp.)"""

from appcdef import Group, Native

GROUPS = [
    Group("module", [
        # The script state hooks of the localization databases, for scripts: Serialize gives
        # the pair (ok, state), Unserialize 1 or 0.
        Native("SKLocDBWrapperSerialize", "AppcSKLocDBWrapperSerialize"),
        Native("SKLocDBWrapperUnserialize", "AppcSKLocDBWrapperUnserialize"),
        # Frees a memory block the engine handed out as a pointer object.
        Native("DeleteBuffer", "AppcDeleteBuffer"),
        # The state of a shadow object as the pickler saves it, and its restore: App installs
        # them as __getstate__ and __setstate__ of its classes.
        Native("SerializeGetState", "AppcSerializeGetState"),
        Native("UnserializeSetState", "AppcUnserializeSetState"),
    ]),
]
