"""Rows of the engine core's service objects: the system services, the profiler, the
configuration store and the pool manager. Scripts reach the global objects through
g_kSystemWrapper, g_kConfigMapping and g_kPoolManager; the profiler's rows take none.

GetIniString keeps its destination argument but hands back the pair (found, text), since a
script's text cannot be written into."""

from appcdef import (BOOL, FLOAT, INT, OBJECT, TEXT, Bool, Check, Copy, Delete, Float, Group, Int, Long, Method,
                     New, Object, Ref, Static, Text)

HEADERS = ["scripting/AppcCoreRows.h"]

GROUPS = [
    Group("SKSystemWrapperClass", [
        Method("GetTimeSinceFrameStart", result=FLOAT),
        Method("GetTimeInSeconds", result=FLOAT),
        Method("GetTimeInMilliseconds", result=INT),
        Method("GetTimeElapsedInSeconds", result=FLOAT),
        Method("GetTimeElapsedInMilliseconds", result=INT),
        Method("GetUpdateNumber", result=INT),
        Method("GetVerticalAspectRatio", result=FLOAT),
        Method("IsForeground", result=BOOL),
        Method("GetRandomNumber", Int("range"), result=INT),
        Method("SetRandomSeed", Int("seed"), call="{self}->SetRandomSeed(static_cast<uint32_t>({seed}))"),
        Method("GetIniInt", Text("section"), Text("key"), Int("default"), Text("fileName"), result=INT),
        Method("GetIniFloat", Text("section"), Text("key"), Float("default"), Text("fileName"), result=FLOAT),
        Method("GetIniString", Text("section"), Text("key"), Text("default"), Object("destination"), Int("size"),
               Text("fileName"), result=OBJECT,
               call="AppcCoreRows::IniString(*{self}, {section}, {key}, {default}, {size}, {fileName})"),
        Method("TakeScreenshot", Int("format", 1), Text("fileName", ""),
               call="{self}->TakeScreenshot({format}, *{fileName} ? {fileName} : nullptr)"),
        Method("SetDefaultScreenShotPath", Text("folder")),
    ]),
    Group("SKProfilingInfo", [
        New(Text("name")),
        Delete(),
        Static("EnableProfiling"),
        Static("DisableProfiling"),
        Static("StartTiming", Text("name"), result=INT),
        Static("StopTiming", Long("timer")),
        Static("SetTimingData", Text("name"), Float("value")),
        Static("SaveRawData", Text("fileName"), result=BOOL),
        Static("Terminate"),
    ]),
    Group("SKConfigMapping", [
        Method("GetFloatValue", Text("section"), Text("key"), result=FLOAT),
        Method("GetIntValue", Text("section"), Text("key"), result=INT),
        Method("GetStringValue", Text("section"), Text("key"), result=TEXT),
        # A copy: the store's own text goes when the value is set again.
        Method("GetSKStringValue", Text("section"), Text("key"), result=Copy("SKString")),
        Method("SetFloatValue", Text("section"), Text("key"), Float("value")),
        Method("SetIntValue", Text("section"), Text("key"), Int("value")),
        Method("SetStringValue", Text("section"), Text("key"), Text("value")),
        Method("SetSKStringValue", Text("section"), Text("key"), Ref("SKString", "value")),
        Method("HasValue", Text("section"), Text("key"), result=BOOL),
        Method("LoadConfigFile", Text("fileName"), result=BOOL),
        Method("SaveConfigFile", Text("fileName"), result=BOOL),
    ]),
    Group("SKPoolManager", [
        Method("Purge"),
        Method("PrintPoolSummary"),
        # The engine hands scripts no walk function: any other pointer would be called blind.
        Method("WalkObjects", Object("function"), Object("userData"), result=OBJECT,
               call="AppcCoreRows::WalkObjects({function})"),
        Method("PrintFull"),
        Method("PrintSummary"),
        Method("DumpFile", Text("fileName")),
        Method("DumpBlocks", Text("fileName")),
        Method("DumpObjects", Text("fileName")),
        Method("DisplayFile", Text("fileName"), Int("flag", 0), call="{self}->DisplayFile({fileName}, {flag} != 0)"),
    ]),
]
