"""Rows of the script host's state save: a script saves and restores module globals into an
engine stream (scripting/AppcStateFunctions.cpp). Each returns 1 or 0."""

from appcdef import Group, Native

GROUPS = [
    Group("PyEmbed", [
        Native("SerializeModule", "AppcSerializeModule"),
        Native("UnserializeModule", "AppcUnserializeModule"),
        Native("StartSave", "AppcStartSave"),
        Native("FinishSave", "AppcFinishSave"),
        Native("StartLoad", "AppcStartLoad"),
        Native("FinishLoad", "AppcFinishLoad"),
    ]),
]
