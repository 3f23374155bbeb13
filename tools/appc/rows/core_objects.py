"""Rows of the engine core's object base classes, its memory stream and its localization
classes.

Scripts hold no engine memory of their own, so the rows that fill a caller's buffer (the
stream's reads into a destination text, the attribute lookups into a value pointer) keep
their arguments but hand the text or value back as their result: a read returns the text
read, a lookup the pair (found, value). Attribute keys are the keys' integer values."""

from appcdef import (BOOL, FLOAT, INT, OBJECT, TEXT, Bool, Char, Check, Copy, Delete, Double, Float, Group, Int,
                     Long, Method, New, Object, Pointer, Ptr, Ref, Short, Static, Text)

HEADERS = ["scripting/AppcCoreRows.h", "core/SKLocalizationManager.h"]

_KEY = Int("key")

GROUPS = [
    Group("SKBufferStream", [
        New(),
        Delete(),
        Method("Close"),
        Method("SetWriteMode", Int("mode")),
        Method("GetWriteMode", result=INT),
        Method("Read", Object("destination"), Long("count"), result=OBJECT,
               call="AppcCoreRows::ReadBytes(*{self}, {count})"),
        Method("Write", Text("text"), Long("count"),
               checks=[Check("AppcCoreRows::FitsText({text}, {count})", "ValueError", "count is beyond the text")]),
        Method("ReadCLine", Object("destination"), Long("size"), Char("end", 10), result=OBJECT,
               call="AppcCoreRows::ReadLine(*{self}, {size}, {end})"),
        Method("WriteCLine", Text("text")),
        Method("ReadCString", Object("destination"), Long("size"), result=OBJECT,
               call="AppcCoreRows::ReadCString(*{self}, {size})"),
        Method("WriteCString", Text("text")),
        Method("ReadCWLine", Object("destination"), Long("size"), Short("end", 10), result=OBJECT,
               call="AppcCoreRows::ReadWideLine(*{self}, {size}, {end})"),
        Method("WriteCWLine", Object("text"), result=OBJECT, call="AppcCoreRows::WriteWideLine(*{self}, {text})"),
        Method("ReadWChar", result=INT),
        Method("WriteWChar", Short("character"), call="{self}->WriteWChar(static_cast<char16_t>({character}))"),
        Method("ReadChar", result=OBJECT, call="AppcCoreRows::ReadCharacter(*{self})"),
        Method("ReadBool", result=BOOL),
        Method("ReadShort", result=INT),
        Method("ReadInt", result=INT),
        Method("ReadLong", result=INT),
        Method("ReadFloat", result=FLOAT),
        Method("ReadDouble", result=FLOAT, call="{self}->ReadDouble()"),
        Method("WriteBool", Bool("value")),
        Method("WriteChar", Char("character"), call="{self}->WriteChar(static_cast<unsigned char>({character}))"),
        Method("WriteShort", Short("value"), call="{self}->WriteShort(static_cast<int16_t>({value}))"),
        Method("WriteInt", Int("value")),
        Method("WriteLong", Long("value")),
        Method("WriteFloat", Float("value")),
        Method("WriteDouble", Double("value")),
        Method("ReadID", result=INT),
        Method("WriteID", Long("id")),
        Method("GetBuffer", result=OBJECT, call="AppcCoreRows::BufferText(*{self})"),
        # A block beyond what the engine's streams address would only fail later.
        Method("OpenBuffer", Int("size"), checks=[Check("{size} <= (1 << 28)", "ValueError", "size is too large")]),
        Method("CloseBuffer"),
        Method("GetPos", result=INT),
        Method("GetLength", result=INT),
        Method("Eof", result=BOOL),
    ]),
    Group("SKLocalizationDatabase", [
        Static("Create", Text("fileName"), Bool("addReference", True), result=Pointer("SKLocalizationDatabase")),
        # A copy: the database's own text goes with the database.
        Method("GetString", Text("key"), result=Copy("SKString"), call="&{self}->GetString({key})"),
        Method("HasString", Text("key"), result=BOOL),
        Method("GetFilename", Text("key"), result=TEXT),
        Static("WriteSample", Text("fileName")),
    ]),
    Group("SKLocalizationManager", [
        Method("Load", Text("fileName"), Bool("addReference", True), result=Pointer("SKLocalizationDatabase")),
        Method("Unload", Ptr("SKLocalizationDatabase", "database")),
        Method("DeleteAll"),
        Method("Purge"),
        Method("GetIfRegistered", Text("fileName"), Bool("addReference", True),
               result=Pointer("SKLocalizationDatabase")),
        Method("RegisterDatabase", Ptr("SKLocalizationDatabase", "database")),
    ]),
    Group("SKObject", [
        Method("GetObjType", result=INT),
        Method("IsTypeOf", Int("type"), result=BOOL),
        Method("GetObjID", result=INT),
        # A counted object another holder still uses is not destroyed under it.
        Static("Destroy", Ptr("SKObject", "object"), call="AppcCoreRows::DestroyObject({object}, ROW)", result=OBJECT),
        Method("Print", Int("level", 0), Int("second", -1)),
        Static("GetIndentString", Int("level"), result=TEXT),
        Static("SetIncrementID", Int("flag"), call="SKObject::SetIncrementID({flag} != 0)"),
        Static("IsIncrementID", result=BOOL),
        Static("GetSKObjectPtr", Long("id"), result=Pointer("SKObject")),
    ]),
    Group("SKAttrObject", [
        Method("LookupAttrValue", _KEY, Object("value"), result=OBJECT,
               call="AppcCoreRows::LookupValue(*{self}, {key})"),
        Method("GetAttrValue", _KEY, result=FLOAT),
        Method("SetAttrValue", _KEY, Float("value"), result=BOOL),
        Method("RemoveAttr", _KEY, result=BOOL),
        Method("LookupAttrInt", _KEY, Object("value"), result=OBJECT,
               call="AppcCoreRows::LookupInt(*{self}, {key})"),
        Method("GetAttrInt", _KEY, result=INT),
        Method("SetAttrInt", _KEY, Int("value"), result=BOOL),
    ]),
    Group("SKTemplatedAttrObject", [
        Method("LookupLocalAttrValue", _KEY, Object("value"), result=OBJECT,
               call="AppcCoreRows::LookupLocalValue(*{self}, {key})"),
    ]),
]
