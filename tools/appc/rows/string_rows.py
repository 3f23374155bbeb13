"""Rows of the engine's wide string SKString. Texts cross as Latin-1, one unit per byte; a
string made by new_SKString or returned by Append belongs to the script."""

from appcdef import INT, Bool, Delete, Group, Int, Method, New, Ref, Text, Value

GROUPS = [
    Group("SKString", [
        New(Text("text", "")),
        Delete(),
        Method("GetLength", result=INT),
        Method("SetString", Text("text")),
        Method("FindC", Text("text"), Int("start", 0), Bool("caseSensitive", False), result=INT),
        Method("Find", Ref("SKString", "other"), Int("start", 0), Bool("caseSensitive", False), result=INT),
        Method("CompareC", Text("text"), Bool("ignoreCase", False), result=INT),
        Method("Compare", Ref("SKString", "other"), Bool("ignoreCase", False), result=INT),
        Method("Append", Ref("SKString", "other"), result=Value("SKString")),
    ]),
]
