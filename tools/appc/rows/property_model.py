"""Rows of the model-property data model: the property base, the template manager, property
sets, instances and lists. Properties stay the engine's (their reference count says who holds
them): a property a row hands out is never freed by its shadow."""

from appcdef import (BOOL, INT, OBJECT, TEXT, Cast, Counted, Create, Delete, Group, Int, Method, New, Pointer,
                     PropertyNew, Ptr, Ref, Static, Text, Value)

HEADERS = ["properties/SKNamedModelPropertyList.h"]

# Scripts only pass on the filter pointers they were given; the pointer is the function.
_FILTER = "reinterpret_cast<SKModelPropertyManager::FilterFunc>({filter})"


def _filter():
    return Ptr("SKModelPropertyManager__FilterFunc", "filter", nullable=False)


GROUPS = [
    Group("SKModelProperty", [
        PropertyNew(),
        Delete(),
        Method("GetRefCount", result=INT),
        # A script gives up only references it holds: those the rows gave it with a property
        # (Create, new_, Duplicate, IncRefCount, RemoveTemplate without delete), and has not
        # handed over to a template list since.
        Method("DecRefCount", result=OBJECT, call="AppcCoreRows::DropReference({self}, ROW)"),
        Method("IncRefCount", result=OBJECT, call="AppcCoreRows::AddReference({self})"),
        Cast(),
        Create(),
        Method("GetName", result=Value("SKString")),
        Method("WriteInit", Ref("SKStream", "stream"), Text("variable")),
        Method("Duplicate", result=Counted("SKModelProperty")),
        Method("Edit", Ref("HWND", "window"), result=BOOL),
        Method("SetName", Text("name")),
        Method("SetNameW", Ref("SKString", "name")),
    ]),
    Group("SKModelPropertyManager", [
        Method("IsLocalTemplate", Ptr("SKModelProperty", "property"), result=BOOL),
        Method("IsGlobalTemplate", Ptr("SKModelProperty", "property"), result=BOOL),
        # A list that takes a property in takes over the script's reference, which the
        # script must hold.
        Method("RegisterLocalTemplate", Ptr("SKModelProperty", "property"), result=OBJECT,
               call="AppcCoreRows::RegisterTemplate(*{self}, {property}, false, ROW)"),
        Method("RegisterGlobalTemplate", Ptr("SKModelProperty", "property"), result=OBJECT,
               call="AppcCoreRows::RegisterTemplate(*{self}, {property}, true, ROW)"),
        Method("ClearGlobalTemplates"),
        Method("ClearLocalTemplates"),
        Method("ClearRegisteredFilters"),
        Method("RegisterFilter", _filter(), Text("title"),
               call="{self}->RegisterFilter(%s, {title})" % _FILTER),
        Method("AddFilter", _filter(), call="{self}->AddFilter(%s)" % _FILTER),
        Method("ApplyFilters", Ptr("SKModelProperty", "property"), result=BOOL),
        Method("ClearCurrentFilters"),
        Method("RemoveFilter", _filter(), result=BOOL, call="{self}->RemoveFilter(%s)" % _FILTER),
        Method("RemoveTemplate", Int("which"), Ptr("SKModelProperty", "property"), Int("delete"), result=OBJECT,
               call="AppcCoreRows::RemoveTemplate(*{self}, {which}, {property}, {delete})"),
        Method("FindByNameAndType", Text("name"), Int("type"), Int("which", 0), result=Pointer("SKModelProperty")),
        Method("FindByName", Text("name"), Int("which", 0), result=Pointer("SKModelProperty")),
    ]),
    Group("SKModelPropertySet", [
        New(ctor="0"),
        Static("Create", result=Counted("SKModelPropertySet"), call="SKModelPropertySet::Create(0)"),
        Delete(),
        Method("GetPropertyList", Text("node"), result=Pointer("SKModelPropertyList")),
        # A new list the script destroys with SKDestroy.
        Method("GetPropertiesByType", Int("type"), result=Pointer("SKModelPropertyList"),
               call="{self}->GetPropertiesByType({type}).release()"),
        Method("AddToSet", Text("node"), Ptr("SKModelProperty", "property"), result=BOOL),
    ]),
    Group("SKModelPropertyInstance", [
        New(Ptr("SKModelProperty", "template"), Text("hardpoint")),
        Delete(),
        Method("UseOriginalTemplate"),
        Method("GetHardpointName", result=TEXT),
        Method("GetProperty", result=Pointer("SKModelProperty")),
        Method("GetOriginalTemplate", result=Pointer("SKModelProperty")),
    ]),
    Group("SKModelPropertyList", [
        New(),
        # A node list belongs to its set, which alone deletes it: a list goes the way
        # SKDestroy says, so a script deleting a node list cannot free it under its set.
        Delete(call="{self}->SKDestroy()"),
        Method("SKBeginIteration"),
        Method("SKGetNext", result=Pointer("SKModelPropertyInstance")),
        Method("SKDoneIterating", result=BOOL),
        Method("SKDestroy"),
        Method("SKGetNumItems", result=INT),
    ]),
]
